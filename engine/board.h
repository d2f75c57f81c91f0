// The state of the game in play: the eight pieces, the grid of their coverage
// codes, the target silhouette and whether it has been rebuilt.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quellon {

constexpr int kBoardColumns = 91;
constexpr int kBoardRows = 61;
constexpr int kPieceCount = 8;

// Anchor lattice point and orientation; the byte layout of the catalogue file.
struct PieceState {
    uint8_t x = 0;
    uint8_t y = 0;
    uint8_t orientation = 0;
    friend bool operator==(const PieceState&, const PieceState&) = default;
};

enum class SolveState : uint8_t { Playing = 0, Solved = 1, Dropped = 2 };

// Cell (x, y) is element x * 61 + y: columns of 61 cells, column after column.
using Grid = std::array<uint8_t, kBoardColumns * kBoardRows>;

inline int gridIndex(int x, int y) { return x * kBoardRows + y; }

struct Cell {
    int x = 0;
    int y = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// The anchor cell of a grid: the leftmost non-empty cell of the topmost
// non-empty row; nothing when the grid is empty.
std::optional<Cell> firstFilledCell(const Grid& grid);

// Adds (sign +1) or subtracts (sign -1) a piece's codes, modulo 256, without
// any bounds test: callers only stamp positions that passed inBounds/fitsBoard
// or that come from a validated catalogue record.
void addPieceCodes(Grid& grid, const PieceState& piece, int sign);

struct Board {
    SolveState solveState = SolveState::Playing;
    int32_t targetAnchorX = 0;
    int32_t targetAnchorY = 0;
    Grid layoutGrid{};
    Grid targetGrid{};
    uint8_t selectedPiece = 0;  // 1..8 while a piece is held, 0 when none
    uint8_t grabZone = 0;
    std::array<PieceState, kPieceCount + 1> pieces{};  // index 1..8; 0 unused

    PieceState& piece(int n) { return pieces[static_cast<size_t>(n)]; }
    const PieceState& piece(int n) const { return pieces[static_cast<size_t>(n)]; }

    void stampPiece(int n);
    void liftPiece(int n);
    bool inBounds(int x, int y, int orientation) const;
    bool fitsBoard(int x, int y, int orientation) const;

    // Compares the layout with the target up to a shift. On success sets
    // solveState to Solved and returns true; the caller then carries out the
    // rest of a solve in its fixed order (colour, progress, sound, message,
    // pattern). On failure nothing changes.
    bool checkSolved();
};

}  // namespace quellon
