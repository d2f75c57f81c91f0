// Any bytes as a saved game. Loading takes the first 950 bytes as progress;
// whatever a byte holds, set-up and help must never lay more than the eight
// pieces, must keep the layout grid equal to the pieces on the board, and
// must only move progress as help allows.
#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/catalogue.h"
#include "engine/setup.h"
#include "fuzz/check.h"
#include "tests/support/test_quellon.h"

using namespace quellon;
using quellon::testing::squareQuellon;

namespace {

struct Fixture {
    GameData game;
    Board board;
    // Well away from the parking slots, so a piece at its solution spot is
    // one that set-up or help put there.
    PuzzleRecord solution = squareQuellon();
    std::string dir;

    Fixture()
    {
        char pattern[] = "/tmp/quellon-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        FUZZ_CHECK(made != nullptr);
        dir = made;
        game.gamesDir = dir;
        game.quellonCount = kMaxQuellons;
        for (int n = 1; n <= kMaxQuellons; ++n)
            game.catalogue[static_cast<size_t>(n)] = solution;
    }
    ~Fixture() { std::system(("rm -rf '" + dir + "'").c_str()); }
};

constexpr int kValuesPerInput = 4;

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Pieces 1..count stand at their solution spots, the others do not.
int solvedPrefix(const Board& board, const PuzzleRecord& solution)
{
    int count = 0;
    while (count < kPieceCount && board.piece(count + 1) == solution.pieces[static_cast<size_t>(count)])
        ++count;
    for (int k = count + 1; k <= kPieceCount; ++k)
        FUZZ_CHECK(!(board.piece(k) == solution.pieces[static_cast<size_t>(k - 1)]));
    return count;
}

void checkBoard(const Board& board)
{
    Grid layout{};
    for (int k = 1; k <= kPieceCount; ++k) {
        const PieceState& piece = board.piece(k);
        FUZZ_CHECK(board.inBounds(piece.x, piece.y, piece.orientation));
        if (k != board.selectedPiece)
            addPieceCodes(layout, piece, +1);
    }
    FUZZ_CHECK(board.layoutGrid == layout);
    FUZZ_CHECK(board.selectedPiece <= kPieceCount);
}

void playOneByte(Fixture& f, int quellon, uint8_t held)
{
    GameData& game = f.game;
    Board& board = f.board;
    game.currentQuellon = quellon;
    const uint8_t loaded = game.currentProgress();
    const int level = helpLevel(loaded);
    FUZZ_CHECK(level >= 0 && level <= kDroppedLevel);
    FUZZ_CHECK(isFinished(loaded) || level < kDroppedLevel);

    PieceRandom random(loaded * 131u + held);
    const bool helpOffered = setUpQuellon(board, game, random);
    FUZZ_CHECK(helpOffered == !isFinished(loaded));
    FUZZ_CHECK(game.currentProgress() == loaded);  // set-up never changes progress
    FUZZ_CHECK(solvedPrefix(board, f.solution) == (helpOffered ? 2 * level : 0));
    FUZZ_CHECK(board.selectedPiece == 0 && board.solveState == SolveState::Playing);
    checkBoard(board);

    // Help is also asked for while the player holds a piece.
    const int hold = held % (kPieceCount + 1);
    if (hold != 0) {
        board.liftPiece(hold);
        board.selectedPiece = static_cast<uint8_t>(hold);
        checkBoard(board);
    }

    int previous = helpOffered ? level : -1;
    for (int press = 0; press < 5; ++press) {
        const uint8_t before = game.currentProgress();
        const HelpResult help = giveHelp(board, game, random);
        if (!help.given) {
            FUZZ_CHECK(game.currentProgress() == before);
            FUZZ_CHECK(!helpOffered || previous == kDroppedLevel);
            continue;
        }
        FUZZ_CHECK(helpOffered);
        FUZZ_CHECK(help.level == previous + 1 && help.level <= kDroppedLevel);
        const uint8_t after = game.currentProgress();
        FUZZ_CHECK(after == (help.dropped() ? kDroppedValue : help.level));
        FUZZ_CHECK(solvedPrefix(board, f.solution) == 2 * help.level);
        FUZZ_CHECK(board.solveState == (help.dropped() ? SolveState::Dropped : SolveState::Playing));
        FUZZ_CHECK(board.selectedPiece == 0);
        checkBoard(board);
        previous = help.level;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fixture& f = fixture();
    {
        std::ofstream out(f.dir + "/fuzz.zql", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    f.game.progressTable.fill(0x5A);  // must all be replaced
    f.game.gameName = "fuzz";
    const LoadResult result = loadSavedGame(f.game, "fuzz");
    FUZZ_CHECK(result.ok);
    FUZZ_CHECK(f.game.gameName == "fuzz");
    const size_t kept = std::min<size_t>(size, kSavedGameSize);
    for (size_t k = 1; k <= kSavedGameSize; ++k)
        FUZZ_CHECK(f.game.progressTable[k] == (k <= kept ? data[k - 1] : 0));

    // The first few distinct byte values, each at the first Quellon that holds
    // it (all 256 values are played through by the reliability tests; here
    // speed buys more inputs).
    std::bitset<256> seen;
    for (int n = 1, played = 0; n <= kMaxQuellons && played < kValuesPerInput; ++n) {
        const uint8_t value = f.game.progressTable[static_cast<size_t>(n)];
        if (seen[value])
            continue;
        seen[value] = true;
        ++played;
        const uint8_t held = static_cast<size_t>(n) < size ? data[n] : 0;
        playOneByte(f, n, held);
    }
    return 0;
}
