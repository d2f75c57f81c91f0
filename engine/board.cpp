// Stamping, bounds and fit tests and the solve check on the board grids.
#include "engine/board.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/orientation_table.h"

namespace quellon {

namespace {

// Index of the first non-zero byte of p[0..n), or n; eight bytes at a time,
// since the grids are mostly empty.
int firstNonZero(const uint8_t* p, int n)
{
    int k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; k + 8 <= n; k += 8) {
            uint64_t word;
            std::memcpy(&word, p + k, sizeof word);
            if (word != 0)
                return k + std::countr_zero(word) / 8;
        }
    }
    for (; k < n; ++k)
        if (p[k] != 0)
            return k;
    return n;
}

bool anyNonZero(const uint8_t* p, int n) { return firstNonZero(p, n) < n; }

}  // namespace

std::optional<Cell> firstFilledCell(const Grid& grid)
{
    // The leftmost cell of the topmost non-empty row, found column by column
    // since the grid is stored column after column.
    std::optional<Cell> first;
    for (int x = 0; x < kBoardColumns; ++x) {
        const uint8_t* column = grid.data() + gridIndex(x, 0);
        const int limit = first ? first->y : kBoardRows;
        const int y = firstNonZero(column, limit);
        if (y < limit)
            first = Cell{x, y};
        if (first && first->y == 0)
            break;
    }
    return first;
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
    return x + boundsMinX[orientation] >= 0 && y + boundsMinY[orientation] >= 0 &&
           x + boundsMaxX[orientation] <= kBoardColumns - 1 && y + boundsMaxY[orientation] <= kBoardRows - 1;
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
    // Rows whose shifted partner lies on the grid; any layout cell outside
    // them, or in a column shifted off the grid, cannot match.
    const int firstRow = std::max(0, -dy);
    const int endRow = std::min(kBoardRows, kBoardRows - dy);
    for (int x = 0; x < kBoardColumns; ++x) {
        const uint8_t* layout = layoutGrid.data() + gridIndex(x, 0);
        if (!anyNonZero(layout, kBoardRows))
            continue;
        const int tx = x + dx;
        if (tx < 0 || tx >= kBoardColumns || firstRow >= endRow)
            return false;
        if (anyNonZero(layout, firstRow) || anyNonZero(layout + endRow, kBoardRows - endRow))
            return false;
        const uint8_t* target = targetGrid.data() + gridIndex(tx, 0);
        // Branch-free so the compiler can vectorise the column.
        unsigned mismatch = 0;
        for (int y = firstRow; y < endRow; ++y)
            mismatch |= static_cast<unsigned>(layout[y] != 0) & static_cast<unsigned>(layout[y] != target[y + dy]);
        if (mismatch)
            return false;
    }
    solveState = SolveState::Solved;
    return true;
}

}  // namespace quellon
