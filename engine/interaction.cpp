// The pointer rules of the board.
#include "engine/interaction.h"

#include <cmath>
#include <numbers>

#include "engine/orientation_table.h"
#include "engine/rounding.h"

namespace quellon {

double screenAngle(double dx, double dy)
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

int directionStep(double dx, double dy) { return roundHalfEven(screenAngle(dx, dy) * 8 / std::numbers::pi); }

double cornerPixelX(const PieceState& piece, int k, int cellSize)
{
    return (piece.x + vertexX[static_cast<size_t>(k * kOrientationCount + piece.orientation)]) * cellSize;
}
double cornerPixelY(const PieceState& piece, int k, int cellSize)
{
    return (piece.y + vertexY[static_cast<size_t>(k * kOrientationCount + piece.orientation)]) * cellSize;
}

HitZone hitTest(const PieceState& piece, int px, int py, int cellSize)
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

std::optional<SoundNumber> stepSound(const PointerStep& step)
{
    switch (step.kind) {
    case PointerStep::Kind::PickedUp:
        return kSoundPickUp;
    case PointerStep::Kind::Moved:
        return kSoundMoveStep;
    case PointerStep::Kind::Turned:
        if (step.byButton)
            return std::nullopt;
        return kSoundTurnStep;
    case PointerStep::Kind::PutDown:
        return kSoundPutDown;
    case PointerStep::Kind::Refused:
        return kSoundRefused;
    case PointerStep::Kind::Solved:
        return kSoundSolved;
    }
    return std::nullopt;
}

PointerOutcome PieceInteraction::pickPiece(int px, int py)
{
    PointerOutcome outcome;
    board_.selectedPiece = 0;
    for (int i = 1; i <= kPieceCount; ++i)
        if (hitTest(board_, px, py, i, cellSize_) != HitZone::Outside)
            board_.selectedPiece = static_cast<uint8_t>(i);
    if (board_.selectedPiece == 0)
        return outcome;
    board_.liftPiece(board_.selectedPiece);
    outcome.add({.kind = PointerStep::Kind::PickedUp, .piece = board_.selectedPiece});
    return outcome;
}

PointerOutcome PieceInteraction::movePiece(int nx, int ny)
{
    PointerOutcome outcome;
    if (board_.selectedPiece == 0 || !board_.inBounds(nx, ny, held().orientation))
        return outcome;
    if (nx == held().x && ny == held().y)
        return outcome;
    const PieceState from = held();
    held().x = static_cast<uint8_t>(nx);
    held().y = static_cast<uint8_t>(ny);
    outcome.add({.kind = PointerStep::Kind::Moved, .piece = board_.selectedPiece, .from = from, .to = held()});
    return outcome;
}

PointerOutcome PieceInteraction::pointerPressed(PointerButton button, int px, int py)
{
    PointerOutcome outcome;
    if (board_.solveState != SolveState::Playing)
        return outcome;
    // A press on the last pixel row or column (the closing edge line) lies
    // outside the cells and is ignored whatever the button.
    const int column = px / cellSize_;
    const int row = py / cellSize_;
    if (px < 0 || py < 0 || column > kBoardColumns - 1 || row > kBoardRows - 1)
        return outcome;
    if (button == PointerButton::Right) {
        if (board_.selectedPiece != 0)
            turnHeldTo((held().orientation + 1) % kOrientationCount, true, outcome);
        return outcome;
    }
    dragOffsetX = 0;
    dragOffsetY = 0;
    if (board_.selectedPiece != 0) {
        board_.grabZone = static_cast<uint8_t>(hitTest(board_, px, py, board_.selectedPiece, cellSize_));
        if (zone() == HitZone::Outside)
            putDown(outcome);
        else
            startGrab(px, py);
    }
    if (board_.solveState != SolveState::Playing || board_.selectedPiece != 0)
        return outcome;
    const PointerOutcome picked = pickPiece(px, py);
    for (const PointerStep& step : picked)
        outcome.add(step);
    if (!picked.empty()) {
        board_.grabZone = static_cast<uint8_t>(hitTest(board_, px, py, board_.selectedPiece, cellSize_));
        startGrab(px, py);
    }
    return outcome;
}

PointerOutcome PieceInteraction::pointerMoved(bool leftHeld, int px, int py)
{
    PointerOutcome outcome;
    if (board_.selectedPiece == 0)
        return outcome;
    outcome.zone = hitTest(board_, px, py, board_.selectedPiece, cellSize_);
    if (!leftHeld)
        return outcome;
    const int column = px / cellSize_;  // truncating toward zero
    const int row = py / cellSize_;
    switch (zone()) {
    case HitZone::Move: {
        PointerOutcome moved = movePiece(column + dragOffsetX, row + dragOffsetY);
        moved.zone = outcome.zone;
        return moved;
    }
    case HitZone::Turn: {
        int n = turnBase - pointerStep(px, py);
        while (n < 0)
            n += kOrientationCount;
        turnHeldTo(n % kOrientationCount, false, outcome);
        break;
    }
    case HitZone::Outside:
        break;
    }
    return outcome;
}

int PieceInteraction::pointerStep(int px, int py)
{
    return directionStep(px - held().x * cellSize_, py - held().y * cellSize_);
}

void PieceInteraction::startGrab(int px, int py)
{
    if (zone() == HitZone::Move) {
        dragOffsetX = held().x - px / cellSize_;
        dragOffsetY = held().y - py / cellSize_;
    } else if (zone() == HitZone::Turn) {
        turnBase = held().orientation + pointerStep(px, py);
    }
}

void PieceInteraction::turnHeldTo(int orientation, bool byButton, PointerOutcome& outcome)
{
    if (orientation == held().orientation || !board_.inBounds(held().x, held().y, orientation))
        return;
    const PieceState from = held();
    held().orientation = static_cast<uint8_t>(orientation);
    outcome.add({.kind = PointerStep::Kind::Turned,
                 .piece = board_.selectedPiece,
                 .from = from,
                 .to = held(),
                 .byButton = byButton});
}

void PieceInteraction::putDown(PointerOutcome& outcome)
{
    const int n = board_.selectedPiece;
    if (!board_.fitsBoard(held().x, held().y, held().orientation)) {
        outcome.add({.kind = PointerStep::Kind::Refused, .piece = n});
        return;
    }
    board_.stampPiece(n);
    board_.selectedPiece = 0;
    outcome.add({.kind = PointerStep::Kind::PutDown, .piece = n});
    if (board_.checkSolved())
        outcome.add({.kind = PointerStep::Kind::Solved});
}

}  // namespace quellon
