// The rules of handling the pieces with the pointer: which zone of a piece a
// point lies in, picking up, moving, turning and putting down, and the order
// of the sounds and drawing steps each action takes. The window forwards its
// pointer events here and carries out the drawing through InteractionView.
//
// Header only, so that both the engine's users and its tests need nothing
// beyond including it.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

#include "engine/board.h"
#include "engine/orientation_table.h"

namespace quellon {

enum class HitZone : uint8_t { Outside = 0, Move = 1, Turn = 2 };

enum class PointerButton { Left, Middle, Right };

// A point at least this many cells from the anchor turns the piece.
constexpr int kTurnRadiusCells = 3;

// Direction of (dx, dy) in radians in [0, 2 pi), counter-clockwise as seen on
// screen (screen y grows downward); the zero vector gives pi / 2.
inline double screenAngle(double dx, double dy)
{
    constexpr double pi = std::numbers::pi;
    const double u = dx;
    const double v = -dy;
    if (u == 0)
        return v >= 0 ? pi / 2 : 3 * pi / 2;
    if (u > 0)
        return v >= 0 ? std::atan(v / u) : 2 * pi - std::atan(-v / u);
    return v >= 0 ? pi - std::atan(v / -u) : pi + std::atan(v / u);
}

// The whole number nearest to v; exactly halfway the even one.
inline int roundHalfEven(double v)
{
    const double lower = std::floor(v);
    const double fraction = v - lower;
    int result = static_cast<int>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

// The pointer direction about a point in sixteenths of a turn, 0..16.
inline int directionStep(double dx, double dy) { return roundHalfEven(screenAngle(dx, dy) * 8 / std::numbers::pi); }

// Pixel position of corner k of a piece.
inline double cornerPixelX(const PieceState& piece, int k, int cellSize)
{
    return (piece.x + vertexX[static_cast<size_t>(k * kOrientationCount + piece.orientation)]) * cellSize;
}
inline double cornerPixelY(const PieceState& piece, int k, int cellSize)
{
    return (piece.y + vertexY[static_cast<size_t>(k * kOrientationCount + piece.orientation)]) * cellSize;
}

// Zone of the piece under pixel (px, py) of the board: Outside the closed
// triangle, Move near the anchor, Turn near the tips.
inline HitZone hitTest(const PieceState& piece, int px, int py, int cellSize)
{
    constexpr double twoPi = 2 * std::numbers::pi;
    const int o = piece.orientation;
    auto vx = [o](int k) { return static_cast<double>(vertexX[static_cast<size_t>(k * kOrientationCount + o)]); };
    auto vy = [o](int k) { return static_cast<double>(vertexY[static_cast<size_t>(k * kOrientationCount + o)]); };
    // The point must lie inside the angle of the triangle at corner `at`,
    // measured counter-clockwise from the edge towards `first` to the edge
    // towards `second`.
    auto insideAngle = [&](int at, int first, int second) {
        const double angleFirst = screenAngle(vx(first) - vx(at), vy(first) - vy(at));
        double angleSecond = screenAngle(vx(second) - vx(at), vy(second) - vy(at));
        double anglePoint = screenAngle(px - cornerPixelX(piece, at, cellSize), py - cornerPixelY(piece, at, cellSize));
        if (angleFirst > angleSecond)
            angleSecond += twoPi;
        if (angleFirst > anglePoint)
            anglePoint += twoPi;
        return anglePoint <= angleSecond;
    };
    if (!insideAngle(0, 1, 2) || !insideAngle(1, 2, 0))
        return HitZone::Outside;
    const double distance = std::hypot(px - piece.x * cellSize, py - piece.y * cellSize);
    return distance >= kTurnRadiusCells * cellSize ? HitZone::Turn : HitZone::Move;
}

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
    bool pickPiece(int px, int py)
    {
        board_.selectedPiece = 0;
        for (int i = 1; i <= kPieceCount; ++i)
            if (hitTest(board_, px, py, i, cellSize_) != HitZone::Outside)
                board_.selectedPiece = static_cast<uint8_t>(i);
        if (board_.selectedPiece == 0)
            return false;
        view_.playSound(kPickUpSound);
        board_.liftPiece(board_.selectedPiece);
        view_.showPickedUp(board_.selectedPiece);
        return true;
    }

    // Moves the held piece to (nx, ny) when it stays on the board.
    void movePiece(int nx, int ny)
    {
        if (board_.selectedPiece == 0 || !board_.inBounds(nx, ny, held().orientation))
            return;
        if (nx == held().x && ny == held().y)
            return;
        view_.playSound(kMoveStepSound);
        view_.toggleHeldOutline();
        held().x = static_cast<uint8_t>(nx);
        held().y = static_cast<uint8_t>(ny);
        view_.toggleHeldOutline();
    }

    void pointerPressed(PointerButton button, int px, int py)
    {
        if (board_.solveState != SolveState::Playing)
            return;
        // A press on the last pixel row or column (the closing edge line) lies
        // outside the cells and is ignored whatever the button.
        const int column = px / cellSize_;
        const int row = py / cellSize_;
        if (px < 0 || py < 0 || column > kBoardColumns - 1 || row > kBoardRows - 1)
            return;
        if (button == PointerButton::Right) {
            if (board_.selectedPiece != 0)
                turnHeldTo((held().orientation + 1) % kOrientationCount, false);
            return;
        }
        dragOffsetX = 0;
        dragOffsetY = 0;
        if (board_.selectedPiece != 0) {
            board_.grabZone = static_cast<uint8_t>(hitTest(board_, px, py, board_.selectedPiece, cellSize_));
            if (zone() == HitZone::Outside)
                putDown();
            else
                startGrab(px, py);
        }
        if (board_.solveState != SolveState::Playing || board_.selectedPiece != 0)
            return;
        if (pickPiece(px, py)) {
            board_.grabZone = static_cast<uint8_t>(hitTest(board_, px, py, board_.selectedPiece, cellSize_));
            startGrab(px, py);
        }
    }

    void pointerMoved(bool leftHeld, int px, int py)
    {
        if (board_.selectedPiece == 0)
            return;
        view_.showZone(hitTest(board_, px, py, board_.selectedPiece, cellSize_));
        if (!leftHeld)
            return;
        const int column = px / cellSize_;  // truncating toward zero
        const int row = py / cellSize_;
        switch (zone()) {
        case HitZone::Move:
            movePiece(column + dragOffsetX, row + dragOffsetY);
            break;
        case HitZone::Turn: {
            int n = turnBase - pointerStep(px, py);
            while (n < 0)
                n += kOrientationCount;
            turnHeldTo(n % kOrientationCount, true);
            break;
        }
        case HitZone::Outside:
            break;
        }
    }

private:
    static constexpr int kPickUpSound = 1;
    static constexpr int kPutDownSound = 2;
    static constexpr int kTurnStepSound = 3;
    static constexpr int kMoveStepSound = 4;
    static constexpr int kRefusedSound = 6;

    PieceState& held() { return board_.piece(board_.selectedPiece); }
    HitZone zone() const { return static_cast<HitZone>(board_.grabZone); }

    int pointerStep(int px, int py)
    {
        return directionStep(px - held().x * cellSize_, py - held().y * cellSize_);
    }

    void startGrab(int px, int py)
    {
        if (zone() == HitZone::Move) {
            dragOffsetX = held().x - px / cellSize_;
            dragOffsetY = held().y - py / cellSize_;
        } else if (zone() == HitZone::Turn) {
            turnBase = held().orientation + pointerStep(px, py);
        }
    }

    void turnHeldTo(int orientation, bool withSound)
    {
        if (orientation == held().orientation || !board_.inBounds(held().x, held().y, orientation))
            return;
        if (withSound)
            view_.playSound(kTurnStepSound);
        view_.toggleHeldOutline();
        held().orientation = static_cast<uint8_t>(orientation);
        view_.toggleHeldOutline();
    }

    void putDown()
    {
        const int n = board_.selectedPiece;
        if (!board_.fitsBoard(held().x, held().y, held().orientation)) {
            view_.playSound(kRefusedSound);
            return;
        }
        view_.playSound(kPutDownSound);
        board_.stampPiece(n);
        view_.showPutDown(n);
        board_.selectedPiece = 0;
        if (board_.checkSolved())
            view_.showSolved();
    }

    Board& board_;
    InteractionView& view_;
    int cellSize_ = 1;
};

} // namespace quellon
