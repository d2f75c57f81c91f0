// The rules of handling the pieces with the pointer: which zone of a piece a
// point lies in, picking up, moving, turning and putting down, and the order
// of the sounds and drawing steps each action takes. The window forwards its
// pointer events here and carries out the drawing through InteractionView.
#pragma once

#include <cstdint>

#include "engine/board.h"
#include "engine/orientation_table.h"

namespace quellon {

enum class HitZone : uint8_t { Outside = 0, Move = 1, Turn = 2 };

enum class PointerButton { Left, Middle, Right };

// A point at least this many cells from the anchor turns the piece.
constexpr int kTurnRadiusCells = 3;

// Direction of (dx, dy) in radians in [0, 2 pi), counter-clockwise as seen on
// screen (screen y grows downward); the zero vector gives pi / 2.
double screenAngle(double dx, double dy);

// The pointer direction about a point in sixteenths of a turn, 0..16: the
// whole number nearest to the angle times 8 / pi, halves to the even one.
int directionStep(double dx, double dy);

// Pixel position of corner k of a piece.
double cornerPixelX(const PieceState& piece, int k, int cellSize);
double cornerPixelY(const PieceState& piece, int k, int cellSize);

// Zone of the piece under pixel (px, py) of the board: Outside the closed
// triangle, Move near the anchor, Turn near the tips.
HitZone hitTest(const PieceState& piece, int px, int py, int cellSize);

inline HitZone hitTest(const Board& board, int px, int py, int pieceNumber, int cellSize)
{
    return hitTest(board.piece(pieceNumber), px, py, cellSize);
}

// What the window does for the interaction, in the order the interaction asks.
class InteractionView {
public:
    virtual ~InteractionView() = default;
    virtual void playSound(int n) = 0;
    // The exclusive-or outline of the held piece at its current state; drawn
    // twice it vanishes again.
    virtual void toggleHeldOutline() = 0;
    // Piece n was lifted: erase it, redraw the silhouette (when on the board)
    // and the other pieces, and draw its outline.
    virtual void showPickedUp(int n) = 0;
    // Piece n was put down: fill it in the playing colours.
    virtual void showPutDown(int n) = 0;
    // Putting the held piece n down was refused; it stays held.
    virtual void showRefused(int /*n*/) {}
    // The solve check found the Quellon solved (solveState is Solved): carry
    // out the rest of a solve in its fixed order.
    virtual void showSolved() = 0;
    // The zone under the pointer while a piece is held, for the cursor.
    virtual void showZone(HitZone zone) = 0;
};

// The pointer handling of the board. Holds the grab values of the window;
// the board (pieces, grids, selection, grab zone) is the caller's.
class PieceInteraction {
public:
    int dragOffsetX = 0;  // piece position minus pointer cell, cells
    int dragOffsetY = 0;
    int turnBase = 0;     // pointer direction (sixteenths) plus orientation

    PieceInteraction(Board& board, InteractionView& view) : board_(board), view_(view) {}

    // The common size of a cell in pixels; set by every resize.
    void setCellSize(int cellSize) { cellSize_ = cellSize; }
    int cellSize() const { return cellSize_; }

    // Picks up the topmost piece under the pointer; true when one was picked.
    bool pickPiece(int px, int py);
    // Moves the held piece to (nx, ny) when it stays on the board.
    void movePiece(int nx, int ny);
    void pointerPressed(PointerButton button, int px, int py);
    void pointerMoved(bool leftHeld, int px, int py);

private:
    PieceState& held() { return board_.piece(board_.selectedPiece); }
    HitZone zone() const { return static_cast<HitZone>(board_.grabZone); }
    int pointerStep(int px, int py);
    void startGrab(int px, int py);
    void turnHeldTo(int orientation, bool withSound);
    void putDown();

    Board& board_;
    InteractionView& view_;
    int cellSize_ = 1;
};

} // namespace quellon
