// Any bytes as a catalogue file. Set-up stamps accepted records without a
// bounds test, so every accepted record must cover only cells on the board,
// and a refused file must name a record that really leaves it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/catalogue.h"
#include "engine/orientation_table.h"
#include "engine/setup.h"
#include "fuzz/check.h"

using namespace quellon;

namespace {

// Independent of Board::inBounds: walks the covered cells themselves.
bool coversOnlyBoardCells(const PieceState& piece)
{
    if (piece.orientation >= kOrientationCount)
        return false;
    for (int i = -kCellOffsetOrigin; i < kCellSpan - kCellOffsetOrigin; ++i)
        for (int j = -kCellOffsetOrigin; j < kCellSpan - kCellOffsetOrigin; ++j) {
            if (cellCode(piece.orientation, i, j) == 0)
                continue;
            const int x = piece.x + i, y = piece.y + j;
            if (x < 0 || x >= kBoardColumns || y < 0 || y >= kBoardRows)
                return false;
        }
    return true;
}

PuzzleRecord recordAt(const uint8_t* data)
{
    PuzzleRecord record;
    for (size_t k = 0; k < kPieceCount; ++k)
        record.pieces[k] = PieceState{data[3 * k], data[3 * k + 1], data[3 * k + 2]};
    return record;
}

GameData game;  // large; one per process
Board board;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    game = GameData{};
    const CatalogueResult result = parseCatalogue(game, bytes);
    const int whole = static_cast<int>(std::min<size_t>(size / kRecordSize, kMaxQuellons));

    switch (result.status) {
    case CatalogueStatus::Missing:
        FUZZ_CHECK(false);  // bytes in hand are never a missing file
        break;
    case CatalogueStatus::Empty:
        FUZZ_CHECK(whole == 0);
        FUZZ_CHECK(game.quellonCount == 0);
        return 0;
    case CatalogueStatus::OffBoard: {
        FUZZ_CHECK(result.badQuellon >= 1 && result.badQuellon <= whole);
        FUZZ_CHECK(game.quellonCount == 0);  // a refused file gives no Quellons
        const PuzzleRecord bad = recordAt(data + static_cast<size_t>(result.badQuellon - 1) * kRecordSize);
        FUZZ_CHECK(!std::all_of(bad.pieces.begin(), bad.pieces.end(), coversOnlyBoardCells));
        for (int n = 1; n < result.badQuellon; ++n) {
            const PuzzleRecord good = recordAt(data + static_cast<size_t>(n - 1) * kRecordSize);
            FUZZ_CHECK(std::all_of(good.pieces.begin(), good.pieces.end(), coversOnlyBoardCells));
        }
        return 0;
    }
    case CatalogueStatus::Ok:
        break;
    }

    FUZZ_CHECK(game.quellonCount == whole);
    for (int n = 1; n <= whole; ++n) {
        const PuzzleRecord& record = game.catalogue[static_cast<size_t>(n)];
        FUZZ_CHECK(record == recordAt(data + static_cast<size_t>(n - 1) * kRecordSize));
        for (int k = 1; k <= kPieceCount; ++k) {
            const PieceState& piece = record.pieces[static_cast<size_t>(k - 1)];
            FUZZ_CHECK(coversOnlyBoardCells(piece));
            FUZZ_CHECK(board.inBounds(piece.x, piece.y, piece.orientation));
        }
    }

    // Lay out the first and the last Quellon as the game would: the target is
    // exactly the solution, and every piece stands on the board.
    PieceRandom random(static_cast<uint32_t>(size));
    for (int n : {1, whole}) {
        game.currentQuellon = n;
        setUpQuellon(board, game, random);
        Grid target{};
        for (const PieceState& piece : game.catalogue[static_cast<size_t>(n)].pieces)
            addPieceCodes(target, piece, +1);
        FUZZ_CHECK(board.targetGrid == target);
        Grid layout{};
        for (int k = 1; k <= kPieceCount; ++k) {
            FUZZ_CHECK(coversOnlyBoardCells(board.piece(k)));
            addPieceCodes(layout, board.piece(k), +1);
        }
        FUZZ_CHECK(board.layoutGrid == layout);
    }
    return 0;
}
