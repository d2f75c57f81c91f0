// A small Quellon for the engine tests: four 10 x 10 squares, each made of an
// orientation-0 and an orientation-8 piece, forming a 20 x 20 square.
#pragma once

#include "engine/board.h"
#include "engine/game_data.h"

namespace quellon::testing {

// Square with its top-left lattice point at (sx, sy): pieces 2k+1 and 2k+2.
inline PuzzleRecord squareQuellon(int left = 30, int top = 20)
{
    PuzzleRecord record;
    int k = 0;
    for (int dy : {0, 10})
        for (int dx : {0, 10}) {
            const int sx = left + dx, sy = top + dy;
            record.pieces[static_cast<size_t>(k++)] = {static_cast<uint8_t>(sx + 7), static_cast<uint8_t>(sy + 7), 0};
            record.pieces[static_cast<size_t>(k++)] = {static_cast<uint8_t>(sx + 3), static_cast<uint8_t>(sy + 3), 8};
        }
    return record;
}

inline Grid gridOf(const PuzzleRecord& record)
{
    Grid grid{};
    for (const PieceState& piece : record.pieces)
        addPieceCodes(grid, piece, +1);
    return grid;
}

// Sum of the codes of every piece on the board except the held one.
inline Grid layoutOf(const Board& board)
{
    Grid grid{};
    for (int n = 1; n <= kPieceCount; ++n)
        if (n != board.selectedPiece)
            addPieceCodes(grid, board.piece(n), +1);
    return grid;
}

inline GameData gameWith(int count, const PuzzleRecord& record = squareQuellon())
{
    GameData game;
    game.quellonCount = count;
    for (int n = 1; n <= count; ++n)
        game.catalogue[static_cast<size_t>(n)] = record;
    return game;
}

}  // namespace quellon::testing
