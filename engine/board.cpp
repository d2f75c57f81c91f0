// Stamping, bounds and fit tests and the solve check on the board grids.
#include "engine/board.h"

#include "engine/orientation_table.h"

namespace quellon {

std::optional<Cell> firstFilledCell(const Grid& grid)
{
    // Row by row, so the anchor is the leftmost cell of the topmost row.
    for (int y = 0; y < kBoardRows; ++y)
        for (int x = 0; x < kBoardColumns; ++x)
            if (grid[gridIndex(x, y)] != 0)
                return Cell{x, y};
    return std::nullopt;
}

void addPieceCodes(Grid& grid, const PieceState& piece, int sign)
{
    const int o = piece.orientation & 15;
    for (int i = boundsMinX[o]; i <= boundsMaxX[o]; ++i) {
        for (int j = boundsMinY[o]; j <= boundsMaxY[o]; ++j) {
            uint8_t& cell = grid[gridIndex(piece.x + i, piece.y + j)];
            cell = static_cast<uint8_t>(cell + sign * cellCode(o, i, j));
        }
    }
}

void Board::stampPiece(int n) { addPieceCodes(layoutGrid, piece(n), +1); }

void Board::liftPiece(int n) { addPieceCodes(layoutGrid, piece(n), -1); }

bool Board::inBounds(int x, int y, int orientation) const
{
    if (orientation < 0 || orientation >= kOrientationCount)
        return false;
    return x + boundsMinX[orientation] >= 0 && y + boundsMinY[orientation] >= 0
        && x + boundsMaxX[orientation] <= kBoardColumns - 1 && y + boundsMaxY[orientation] <= kBoardRows - 1;
}

bool Board::fitsBoard(int x, int y, int orientation) const
{
    if (!inBounds(x, y, orientation))
        return false;
    const int o = orientation;
    for (int i = boundsMinX[o]; i <= boundsMaxX[o]; ++i) {
        for (int j = boundsMinY[o]; j <= boundsMaxY[o]; ++j) {
            const uint8_t existing = layoutGrid[gridIndex(x + i, y + j)];
            const uint8_t added = cellCode(o, i, j);
            if (existing != 0 && added != 0 && !isAllowedPair(existing, added))
                return false;
        }
    }
    return true;
}

bool Board::checkSolved()
{
    const std::optional<Cell> anchor = firstFilledCell(layoutGrid);
    if (!anchor)
        return false;
    const int dx = targetAnchorX - anchor->x;
    const int dy = targetAnchorY - anchor->y;
    for (int x = 0; x < kBoardColumns; ++x) {
        for (int y = 0; y < kBoardRows; ++y) {
            const uint8_t value = layoutGrid[gridIndex(x, y)];
            if (value == 0)
                continue;
            const int tx = x + dx;
            const int ty = y + dy;
            if (tx < 0 || tx >= kBoardColumns || ty < 0 || ty >= kBoardRows)
                return false;
            if (targetGrid[gridIndex(tx, ty)] != value)
                return false;
        }
    }
    solveState = SolveState::Solved;
    return true;
}

} // namespace quellon
