// Damaged catalogues and saved games from tests/data (made by make_corpus.py),
// each with the outcome the game promises: a clear refusal or the documented
// reading, never a crash, a hang or a piece off the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "engine/catalogue.h"
#include "engine/setup.h"
#include "tests/support/test_quellon.h"

namespace fs = std::filesystem;
using namespace quellon;
using quellon::testing::squareQuellon;

namespace {

const fs::path kData = QUELLON_TEST_DATA;

std::vector<uint8_t> readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/quellon-bad-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir()
    {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }
    std::string dir() const { return path_.string() + "/"; }

private:
    fs::path path_;
};

struct CatalogueCase {
    const char* file;
    CatalogueStatus status;
    int count;  // N for Ok, the bad Quellon for OffBoard
};

}  // namespace

TEST(BadCatalogue, EveryDamagedFileGivesItsOutcome)
{
    const CatalogueCase cases[] = {
        {"empty.dat", CatalogueStatus::Empty, 0},
        {"partial_23.dat", CatalogueStatus::Empty, 0},
        {"one_record.dat", CatalogueStatus::Ok, 1},
        {"ten_and_5_bytes.dat", CatalogueStatus::Ok, 10},
        {"off_board_third.dat", CatalogueStatus::OffBoard, 3},
        {"orientation_16.dat", CatalogueStatus::OffBoard, 1},
        {"orientation_255.dat", CatalogueStatus::OffBoard, 1},
        {"all_ff.dat", CatalogueStatus::OffBoard, 1},
        {"text.dat", CatalogueStatus::OffBoard, 1},
        {"board_edge.dat", CatalogueStatus::Ok, 1},
        {"past_edge.dat", CatalogueStatus::OffBoard, 1},
    };
    for (const CatalogueCase& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        fs::copy_file(kData / "catalogue" / c.file, dir.path() / kCatalogueFileName);
        GameData game;
        game.programDir = dir.dir();
        const CatalogueResult result = loadCatalogue(game);
        EXPECT_EQ(result.status, c.status);
        if (c.status == CatalogueStatus::Ok) {
            EXPECT_EQ(game.quellonCount, c.count);
        } else {
            EXPECT_EQ(game.quellonCount, 0);
            if (c.status == CatalogueStatus::OffBoard) {
                EXPECT_EQ(result.badQuellon, c.count);
            }
            // The fatal box has words in both languages.
            const Message message = catalogueFailureMessage(result);
            EXPECT_FALSE(message.german.empty());
            EXPECT_FALSE(message.english.empty());
        }
    }
}

TEST(BadCatalogue, AcceptedEdgeRecordStaysOnTheBoardWhenLaidOut)
{
    GameData game;
    ASSERT_TRUE(parseCatalogue(game, readBytes(kData / "catalogue" / "board_edge.dat")).ok());
    Board board;
    PieceRandom random(7);
    setUpQuellon(board, game, random);
    Grid target{};
    for (const PieceState& piece : game.catalogue[1].pieces)
        addPieceCodes(target, piece, +1);
    EXPECT_EQ(board.targetGrid, target);
    // The corner pieces reach the last column and the last row.
    bool lastColumn = false, lastRow = false;
    for (int y = 0; y < kBoardRows; ++y)
        lastColumn = lastColumn || board.targetGrid[static_cast<size_t>(gridIndex(kBoardColumns - 1, y))] != 0;
    for (int x = 0; x < kBoardColumns; ++x)
        lastRow = lastRow || board.targetGrid[static_cast<size_t>(gridIndex(x, kBoardRows - 1))] != 0;
    EXPECT_TRUE(lastColumn);
    EXPECT_TRUE(lastRow);
}

TEST(BadCatalogue, OversizedFileReadsTheFirst950)
{
    TempDir dir;
    std::vector<uint8_t> bytes;
    const PuzzleRecord square = squareQuellon();
    for (int n = 0; n < kMaxQuellons + 1; ++n)
        for (const PieceState& piece : square.pieces)
            bytes.insert(bytes.end(), {piece.x, piece.y, piece.orientation});
    // Past the 950th record nothing is looked at, not even garbage.
    bytes.insert(bytes.end(), 200000, uint8_t{0xff});
    std::ofstream(dir.path() / kCatalogueFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    GameData game;
    game.programDir = dir.dir();
    ASSERT_TRUE(loadCatalogue(game).ok());
    EXPECT_EQ(game.quellonCount, kMaxQuellons);
    EXPECT_EQ(game.catalogue[kMaxQuellons], square);
}

TEST(BadCatalogue, SomethingOtherThanAFileIsMissing)
{
    // A directory, a pipe nobody writes to (must not hang) and a dangling link.
    TempDir asDirectory, asPipe, asLink;
    fs::create_directory(asDirectory.path() / kCatalogueFileName);
    ASSERT_EQ(mkfifo((asPipe.path() / kCatalogueFileName).c_str(), 0644), 0);
    fs::create_symlink(asLink.path() / "gone", asLink.path() / kCatalogueFileName);
    for (const TempDir* dir : {&asDirectory, &asPipe, &asLink}) {
        GameData game;
        game.programDir = dir->dir();
        EXPECT_EQ(loadCatalogue(game).status, CatalogueStatus::Missing) << dir->path();
    }
}

namespace {

struct GameCase {
    const char* file;
    size_t kept;  // bytes taken from the file; the rest of the 950 are 0
};

}  // namespace

TEST(BadSavedGame, EveryOddLengthLoadsAsDocumented)
{
    const GameCase cases[] = {
        {"empty.zql", 0},       {"one_byte.zql", 1},    {"short_100.zql", 100}, {"every_value.zql", 950},
        {"long_1000.zql", 950}, {"high_bits.zql", 950}, {"text.zql", 20},
    };
    for (const GameCase& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        const std::string name = fs::path(c.file).stem().string();
        fs::copy_file(kData / "games" / c.file, dir.path() / c.file);
        const std::vector<uint8_t> bytes = readBytes(dir.path() / c.file);
        ASSERT_EQ(std::min<size_t>(bytes.size(), kSavedGameSize), c.kept);
        GameData game;
        game.gamesDir = dir.path().string();
        game.quellonCount = 10;
        game.progressTable.fill(0x55);
        game.gameName = name;
        ASSERT_TRUE(loadSavedGame(game, name).ok);
        EXPECT_EQ(game.gameName, name);
        EXPECT_EQ(game.quellonCount, 10);
        for (size_t k = 1; k <= kSavedGameSize; ++k)
            ASSERT_EQ(game.progressTable[k], k <= c.kept ? bytes[k - 1] : 0) << "Quellon " << k;
    }
}

TEST(BadSavedGame, HugeFileTakesTheFirst950Bytes)
{
    TempDir dir;
    std::vector<uint8_t> bytes(1 << 20);
    for (size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<uint8_t>(k * 13);
    std::ofstream(dir.path() / "huge.zql", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    GameData game;
    game.gamesDir = dir.path().string();
    ASSERT_TRUE(loadSavedGame(game, "huge").ok);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + kSavedGameSize, game.progressTable.begin() + 1));
}

TEST(BadSavedGame, UnreadableGameGivesTheMessageAndKeepsProgress)
{
    TempDir dir;
    fs::create_directory(dir.path() / "folder.zql");
    ASSERT_EQ(mkfifo((dir.path() / "pipe.zql").c_str(), 0644), 0);
    fs::create_symlink(dir.path() / "gone.zql", dir.path() / "dangling.zql");
    for (const char* name : {"folder", "pipe", "dangling", "absent", "../escape", "", "a/b"}) {
        SCOPED_TRACE(name);
        GameData game;
        game.gamesDir = dir.path().string();
        game.progressTable.fill(9);
        game.gameName = name;
        const LoadResult result = loadSavedGame(game, name);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.failure.code, MessageCode::Notice);
        EXPECT_EQ(result.failure.english, std::string("Error occured while loading file ") + name);
        EXPECT_EQ(result.failure.german, std::string("Fehler beim Laden des Spiels ") + name);
        EXPECT_TRUE(game.gameName.empty());
        EXPECT_TRUE(
            std::all_of(game.progressTable.begin(), game.progressTable.end(), [](uint8_t p) { return p == 9; }));
    }
}

namespace {

// Pieces 1..count stand at their solution spots, the others do not.
int solvedPrefix(const Board& board, const PuzzleRecord& solution)
{
    int count = 0;
    while (count < kPieceCount && board.piece(count + 1) == solution.pieces[static_cast<size_t>(count)])
        ++count;
    for (int k = count + 1; k <= kPieceCount; ++k)
        EXPECT_FALSE(board.piece(k) == solution.pieces[static_cast<size_t>(k - 1)]) << "piece " << k;
    return count;
}

Grid layoutOf(const Board& board)
{
    Grid grid{};
    for (int n = 1; n <= kPieceCount; ++n)
        if (n != board.selectedPiece)
            addPieceCodes(grid, board.piece(n), +1);
    return grid;
}

void expectPiecesOnBoard(const Board& board)
{
    for (int n = 1; n <= kPieceCount; ++n)
        EXPECT_TRUE(board.inBounds(board.piece(n).x, board.piece(n).y, board.piece(n).orientation)) << "piece " << n;
}

}  // namespace

TEST(BadSavedGame, EveryByteValueNeverLaysMoreThanEightPieces)
{
    // Every value a damaged file can hold, with help asked for five times,
    // with no piece in hand and with each of the eight held.
    const PuzzleRecord solution = squareQuellon();
    GameData game;
    game.quellonCount = 1;
    game.catalogue[1] = solution;
    Board board;
    PieceRandom random(11);
    for (int value = 0; value < 256; ++value) {
        for (int held = 0; held <= kPieceCount; ++held) {
            SCOPED_TRACE("progress byte " + std::to_string(value) + ", held piece " + std::to_string(held));
            game.progressTable[1] = static_cast<uint8_t>(value);
            const bool finished = (value & kFinishedBit) != 0;
            const int level = helpLevel(static_cast<uint8_t>(value));
            ASSERT_GE(level, 0);
            ASSERT_LE(level, finished ? kDroppedLevel : kDroppedLevel - 1);

            ASSERT_EQ(setUpQuellon(board, game, random), !finished);
            EXPECT_EQ(game.progressTable[1], value);
            EXPECT_EQ(solvedPrefix(board, solution), finished ? 0 : 2 * level);
            EXPECT_EQ(board.layoutGrid, layoutOf(board));
            expectPiecesOnBoard(board);
            if (held != 0) {
                board.liftPiece(held);
                board.selectedPiece = static_cast<uint8_t>(held);
            }

            int previous = finished ? -1 : level;
            for (int press = 0; press < 5; ++press) {
                const uint8_t before = game.progressTable[1];
                const HelpResult help = giveHelp(board, game, random);
                if (!help.given) {
                    EXPECT_TRUE(finished || previous == kDroppedLevel);
                    EXPECT_EQ(game.progressTable[1], before);
                } else {
                    ASSERT_FALSE(finished);
                    EXPECT_EQ(help.level, previous + 1);
                    ASSERT_LE(help.level, kDroppedLevel);
                    EXPECT_EQ(game.progressTable[1], help.dropped() ? kDroppedValue : help.level);
                    EXPECT_EQ(solvedPrefix(board, solution), 2 * help.level);
                    EXPECT_EQ(board.selectedPiece, 0);
                    previous = help.level;
                }
                EXPECT_EQ(board.layoutGrid, layoutOf(board));
                expectPiecesOnBoard(board);
            }
            if (::testing::Test::HasFailure())
                return;
        }
    }
}
