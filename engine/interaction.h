// The rules of handling the pieces with the pointer: which zone of a piece a
// point lies in, picking up, moving, turning and putting down. The window
// forwards its pointer events here; each returns what happened to the board,
// step by step in the order it happened, and the window plays the steps'
// sounds and redraws from the board.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>

#include "engine/board.h"
#include "engine/orientation_table.h"
#include "engine/sounds.h"

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

// One thing a pointer event did to the board.
struct PointerStep {
    enum class Kind : uint8_t {
        PickedUp,  // piece `piece` was lifted out of the grid and is held
        Moved,     // the held piece went from `from` to `to`
        Turned,    // the held piece turned from `from` to `to`
        PutDown,   // piece `piece` was stamped where it was held; nothing is held
        Refused,   // putting piece `piece` down was refused; it stays held
        Solved,    // the last put-down solved the Quellon (solveState is Solved)
    };
    Kind kind = Kind::PickedUp;
    int piece = 0;
    PieceState from{};
    PieceState to{};
    bool byButton = false;  // Turned: by the right button, which turns silently
};

// The sound that goes with a step, played before the step is drawn; none for
// a turn by the right button. A solve's sound comes within the solve's own
// order: after the colours and recordSolve (engine/game_data.h).
std::optional<SoundNumber> stepSound(const PointerStep& step);

// What one pointer event did: at most two steps (a put-down followed by a
// pick-up or a solve), in order; none when the event changed nothing.
class PointerOutcome {
public:
    // Set by pointerMoved while a piece is held: the zone under the pointer,
    // for the cursor; it never changes the grab.
    std::optional<HitZone> zone;

    void add(const PointerStep& step)
    {
        assert(count_ < static_cast<int>(steps_.size()));
        steps_[static_cast<size_t>(count_++)] = step;
    }
    bool empty() const { return count_ == 0; }
    const PointerStep* begin() const { return steps_.data(); }
    const PointerStep* end() const { return steps_.data() + count_; }

private:
    std::array<PointerStep, 2> steps_{};
    int count_ = 0;
};

// The pointer handling of the board. Holds the grab values of the window;
// the board (pieces, grids, selection, grab zone) is the caller's.
class PieceInteraction {
public:
    int dragOffsetX = 0;  // piece position minus pointer cell, cells
    int dragOffsetY = 0;
    int turnBase = 0;  // pointer direction (sixteenths) plus orientation

    explicit PieceInteraction(Board& board) : board_(board) {}

    // The common size of a cell in pixels; set by every resize.
    void setCellSize(int cellSize) { cellSize_ = cellSize; }
    int cellSize() const { return cellSize_; }

    // Picks up the topmost piece under the pointer (a PickedUp step), if any.
    PointerOutcome pickPiece(int px, int py);
    // Moves the held piece to (nx, ny) when it stays on the board (a Moved step).
    PointerOutcome movePiece(int nx, int ny);
    PointerOutcome pointerPressed(PointerButton button, int px, int py);
    PointerOutcome pointerMoved(bool leftHeld, int px, int py);

private:
    PieceState& held() { return board_.piece(board_.selectedPiece); }
    HitZone zone() const { return static_cast<HitZone>(board_.grabZone); }
    int pointerStep(int px, int py);
    void startGrab(int px, int py);
    void turnHeldTo(int orientation, bool byButton, PointerOutcome& outcome);
    void putDown(PointerOutcome& outcome);

    Board& board_;
    int cellSize_ = 1;
};

}  // namespace quellon
