// The pointer rules: directions, hit zones, and pick / move / turn / drop
// sequences with the board's grid checked after every step.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "engine/interaction.h"
#include "engine/orientation_table.h"
#include "engine/statistics.h"

using namespace quellon;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kCell = 9;

// Writes down the steps the interaction reports, as the window carries them
// out: each step's sound, then its drawing (a move or turn takes the held
// outline off and puts it on again).
class RecordingView {
public:
    std::vector<std::string> events;
    std::vector<int> sounds;
    int outlineToggles = 0;
    HitZone lastZone = HitZone::Outside;

    void record(const PointerOutcome& outcome)
    {
        if (outcome.zone)
            lastZone = *outcome.zone;
        for (const PointerStep& step : outcome) {
            const std::string n = std::to_string(step.piece);
            // The solve's own sound belongs to the window's solve sequence.
            if (step.kind == PointerStep::Kind::Solved) {
                events.push_back("solved");
                continue;
            }
            if (const auto sound = stepSound(step)) {
                sounds.push_back(*sound);
                events.push_back("sound " + std::to_string(*sound));
            }
            switch (step.kind) {
            case PointerStep::Kind::PickedUp:
                events.push_back("picked " + n);
                break;
            case PointerStep::Kind::Moved:
            case PointerStep::Kind::Turned:
                outlineToggles += 2;
                events.insert(events.end(), {"outline", "outline"});
                break;
            case PointerStep::Kind::PutDown:
                events.push_back("put " + n);
                break;
            case PointerStep::Kind::Refused:
                events.push_back("refused " + n);
                break;
            case PointerStep::Kind::Solved:
                break;
            }
        }
    }
    void clear()
    {
        events.clear();
        sounds.clear();
        outlineToggles = 0;
    }
};

// The grid the given pieces make, for comparing with layoutGrid.
Grid gridOf(const Board& board, std::initializer_list<int> pieces)
{
    Grid grid{};
    for (int n : pieces)
        addPieceCodes(grid, board.piece(n), +1);
    return grid;
}

// A point inside the piece, `share` of the way from the anchor to corner k.
std::pair<int, int> towardCorner(const PieceState& piece, int k, double share)
{
    const double ax = piece.x * kCell;
    const double ay = piece.y * kCell;
    return {static_cast<int>(ax + (cornerPixelX(piece, k, kCell) - ax) * share),
            static_cast<int>(ay + (cornerPixelY(piece, k, kCell) - ay) * share)};
}

struct Fixture : ::testing::Test {
    Board board;
    RecordingView view;
    PieceInteraction interaction{board};

    void SetUp() override
    {
        interaction.setCellSize(kCell);
        // Eight pieces well apart, all on the board.
        for (int n = 1; n <= kPieceCount; ++n) {
            board.piece(n) = PieceState{static_cast<uint8_t>(12 + 20 * ((n - 1) % 4)),
                                        static_cast<uint8_t>(15 + 30 * ((n - 1) / 4)), static_cast<uint8_t>(n)};
            board.stampPiece(n);
        }
    }
    void press(PointerButton button, int px, int py) { view.record(interaction.pointerPressed(button, px, py)); }
    void pressOn(int n, PointerButton button = PointerButton::Left)
    {
        press(button, board.piece(n).x * kCell, board.piece(n).y * kCell);
    }
    void drag(int px, int py) { view.record(interaction.pointerMoved(true, px, py)); }
    void hover(int px, int py) { view.record(interaction.pointerMoved(false, px, py)); }
};

}  // namespace

TEST(ScreenAngle, MeasuresCounterClockwiseWithScreenYDown)
{
    EXPECT_DOUBLE_EQ(screenAngle(1, 0), 0);
    EXPECT_DOUBLE_EQ(screenAngle(0, -1), kPi / 2);
    EXPECT_DOUBLE_EQ(screenAngle(-1, 0), kPi);
    EXPECT_DOUBLE_EQ(screenAngle(0, 1), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(screenAngle(0, 0), kPi / 2);
    EXPECT_DOUBLE_EQ(screenAngle(5, -5), kPi / 4);
    EXPECT_DOUBLE_EQ(screenAngle(-5, -5), 3 * kPi / 4);
    EXPECT_DOUBLE_EQ(screenAngle(-5, 5), 5 * kPi / 4);
    EXPECT_DOUBLE_EQ(screenAngle(5, 5), 7 * kPi / 4);
    for (double a = 0.05; a < 2 * kPi; a += 0.1) {
        const double angle = screenAngle(std::cos(a), -std::sin(a));
        EXPECT_NEAR(angle, a, 1e-9);
        EXPECT_GE(angle, 0);
        EXPECT_LT(angle, 2 * kPi);
    }
}

TEST(ScreenAngle, HalvesRoundToTheEvenNumber)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(15.5), 16);
    EXPECT_EQ(roundHalfEven(2.49), 2);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(directionStep(1, 0), 0);
    EXPECT_EQ(directionStep(0, -1), 4);
    EXPECT_EQ(directionStep(1, 0.0001), 16);  // just below the x axis: a full turn
}

TEST(HitZones, AnchorMovesTipsTurnAndOutsideMisses)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        SCOPED_TRACE(o);
        const PieceState piece{45, 30, static_cast<uint8_t>(o)};
        const int ax = piece.x * kCell;
        const int ay = piece.y * kCell;
        EXPECT_EQ(hitTest(piece, ax, ay, kCell), HitZone::Move);
        EXPECT_EQ(hitTest(piece, ax + 1, ay + 1, kCell), HitZone::Move);
        for (int k = 0; k < 3; ++k) {
            const auto [tx, ty] = towardCorner(piece, k, 0.85);
            EXPECT_GE(std::hypot(tx - ax, ty - ay), 3 * kCell);
            EXPECT_EQ(hitTest(piece, tx, ty, kCell), HitZone::Turn) << "corner " << k;
            const auto [bx, by] = towardCorner(piece, k, 1.2);
            EXPECT_EQ(hitTest(piece, bx, by, kCell), HitZone::Outside) << "corner " << k;
        }
        EXPECT_EQ(hitTest(piece, ax + 12 * kCell, ay, kCell), HitZone::Outside);
    }
}

TEST(HitZones, TurnZoneStartsAtThreeCellsFromTheAnchor)
{
    // Orientation 0: corner 1 (right angle) lies at (+2, -7) cells; its leg
    // runs straight up from the anchor's column + 2, so points straight to
    // the right of the anchor inside the piece are easy to name.
    const PieceState piece{45, 30, 0};
    const int ax = piece.x * kCell;
    const int ay = piece.y * kCell;
    ASSERT_EQ(hitTest(piece, ax + kCell, ay, kCell), HitZone::Move);
    // Along the line toward corner 0 the zone changes at 3 cells exactly.
    const double cx = cornerPixelX(piece, 0, kCell) - ax;
    const double cy = cornerPixelY(piece, 0, kCell) - ay;
    const double length = std::hypot(cx, cy);
    auto at = [&](double pixels) {
        return hitTest(piece, ax + static_cast<int>(std::lround(cx / length * pixels)),
                       ay + static_cast<int>(std::lround(cy / length * pixels)), kCell);
    };
    EXPECT_EQ(at(3 * kCell - 2), HitZone::Move);
    EXPECT_EQ(at(3 * kCell + 1), HitZone::Turn);
}

TEST_F(Fixture, PickUpLiftsThePieceAndStartsAMoveGrab)
{
    pressOn(3);
    EXPECT_EQ(board.selectedPiece, 3);
    EXPECT_EQ(board.grabZone, static_cast<uint8_t>(HitZone::Move));
    EXPECT_EQ(board.layoutGrid, gridOf(board, {1, 2, 4, 5, 6, 7, 8}));
    EXPECT_EQ(view.events, (std::vector<std::string>{"sound 1", "picked 3"}));
    EXPECT_EQ(interaction.dragOffsetX, 0);
    EXPECT_EQ(interaction.dragOffsetY, 0);
}

TEST_F(Fixture, DraggingMovesCellByCellKeepingTheGrabOffset)
{
    const PieceState start = board.piece(2);
    // Grab two cells right of the anchor: the offset keeps the piece there.
    press(PointerButton::Left, start.x * kCell + 2 * kCell + 3, start.y * kCell + 4);
    ASSERT_EQ(board.selectedPiece, 2);
    ASSERT_EQ(board.grabZone, static_cast<uint8_t>(HitZone::Move));
    EXPECT_EQ(interaction.dragOffsetX, -2);
    const Grid lifted = board.layoutGrid;
    view.clear();

    drag((start.x + 7) * kCell + 3, (start.y + 5) * kCell + 4);
    EXPECT_EQ(board.piece(2).x, start.x + 5);
    EXPECT_EQ(board.piece(2).y, start.y + 5);
    EXPECT_EQ(view.events, (std::vector<std::string>{"sound 4", "outline", "outline"}));
    EXPECT_EQ(board.layoutGrid, lifted);  // moves never touch the grid

    // Within the same cell nothing happens.
    view.clear();
    drag((start.x + 7) * kCell + 5, (start.y + 5) * kCell + 6);
    EXPECT_TRUE(view.events.empty());

    // Leaving the board is refused as a whole, also diagonally.
    view.clear();
    drag(-40 * kCell, (start.y + 6) * kCell);
    EXPECT_EQ(board.piece(2).x, start.x + 5);
    EXPECT_EQ(board.piece(2).y, start.y + 5);
    EXPECT_TRUE(view.sounds.empty());

    // Moving without the left button only sets the cursor.
    hover((start.x + 20) * kCell, (start.y + 5) * kCell);
    EXPECT_EQ(board.piece(2).x, start.x + 5);
}

TEST_F(Fixture, DropStampsThePieceAndAPressOffItPicksTheNextOne)
{
    pressOn(1);
    drag((board.piece(1).x + 3) * kCell, board.piece(1).y * kCell);
    const PieceState placed = board.piece(1);
    view.clear();
    pressOn(6);  // off the held piece, on piece 6: put down, then pick up 6
    EXPECT_EQ(view.events, (std::vector<std::string>{"sound 2", "put 1", "sound 1", "picked 6"}));
    EXPECT_EQ(board.piece(1), placed);
    EXPECT_EQ(board.selectedPiece, 6);
    EXPECT_EQ(board.layoutGrid, gridOf(board, {1, 2, 3, 4, 5, 7, 8}));
}

TEST_F(Fixture, RefusedDropKeepsThePieceHeldAndDraggingDoesNothing)
{
    pressOn(1);
    // Drag piece 1 right onto piece 2, same orientation would be needed for
    // a fit; the overlap of full cells is refused.
    const PieceState target = board.piece(2);
    drag(target.x * kCell, target.y * kCell);
    ASSERT_EQ(board.piece(1).x, target.x);
    const Grid before = board.layoutGrid;
    view.clear();
    press(PointerButton::Left, 80 * kCell, 50 * kCell);
    EXPECT_EQ(view.events, (std::vector<std::string>{"sound 6", "refused 1"}));
    EXPECT_EQ(board.selectedPiece, 1);
    EXPECT_EQ(board.grabZone, static_cast<uint8_t>(HitZone::Outside));
    EXPECT_EQ(board.layoutGrid, before);
    view.clear();
    drag(60 * kCell, 40 * kCell);
    EXPECT_EQ(board.piece(1).x, target.x);
    EXPECT_TRUE(view.events.empty());
}

TEST_F(Fixture, RightPressTurnsTheHeldPieceClockwiseSilently)
{
    press(PointerButton::Right, board.piece(1).x * kCell, board.piece(1).y * kCell);
    EXPECT_EQ(board.selectedPiece, 0);  // nothing held: nothing happens
    EXPECT_TRUE(view.events.empty());

    pressOn(5);
    view.clear();
    const int before = board.piece(5).orientation;
    press(PointerButton::Right, 3, 3);
    EXPECT_EQ(board.piece(5).orientation, (before + 1) % 16);
    EXPECT_EQ(view.events, (std::vector<std::string>{"outline", "outline"}));

    // Near the edge a turn that would leave the board is not done: find a
    // place on the left edge where the next orientation sticks out.
    bool found = false;
    for (int x = 0; x < 10 && !found; ++x)
        for (int o = 0; o < 16 && !found; ++o)
            if (board.inBounds(x, 30, o) && !board.inBounds(x, 30, (o + 1) % 16)) {
                board.piece(5) = PieceState{static_cast<uint8_t>(x), 30, static_cast<uint8_t>(o)};
                found = true;
            }
    ASSERT_TRUE(found);
    const PieceState edge = board.piece(5);
    view.clear();
    press(PointerButton::Right, 45 * kCell, 30 * kCell);
    EXPECT_EQ(board.piece(5), edge);
    EXPECT_TRUE(view.events.empty());
}

TEST_F(Fixture, TurnGrabFollowsThePointerRoundAFullCircle)
{
    board.liftPiece(4);
    board.piece(4) = PieceState{45, 30, 5};
    board.stampPiece(4);
    const PieceState piece = board.piece(4);
    const auto [gx, gy] = towardCorner(piece, 0, 0.8);
    press(PointerButton::Left, gx, gy);
    ASSERT_EQ(board.selectedPiece, 4);
    ASSERT_EQ(board.grabZone, static_cast<uint8_t>(HitZone::Turn));
    view.clear();

    const double ax = piece.x * kCell;
    const double ay = piece.y * kCell;
    const double start = screenAngle(gx - ax, gy - ay);
    const double radius = 5 * kCell;
    std::vector<int> seen;
    for (int step = 1; step <= 256; ++step) {
        const double a = start + 2 * kPi * step / 256;  // counter-clockwise on screen
        drag(static_cast<int>(std::lround(ax + radius * std::cos(a))),
             static_cast<int>(std::lround(ay - radius * std::sin(a))));
        if (seen.empty() || seen.back() != board.piece(4).orientation)
            seen.push_back(board.piece(4).orientation);
    }
    EXPECT_EQ(board.piece(4).orientation, 5);
    EXPECT_EQ(view.sounds, std::vector<int>(16, 3));
    EXPECT_EQ(view.outlineToggles, 32);
    // Every step lowers the orientation by one.
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], (seen[i - 1] + 15) % 16);
}

TEST_F(Fixture, MiddleButtonPicksAndDropsButDoesNotDrag)
{
    pressOn(7, PointerButton::Middle);
    EXPECT_EQ(board.selectedPiece, 7);
    const PieceState held = board.piece(7);
    hover((held.x + 4) * kCell, held.y * kCell);
    EXPECT_EQ(board.piece(7), held);
    press(PointerButton::Middle, 45 * kCell, 30 * kCell);
    EXPECT_EQ(board.selectedPiece, 0);
    EXPECT_EQ(board.layoutGrid, gridOf(board, {1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(Fixture, OverlappingPiecesGiveTheHighestNumber)
{
    board.piece(2) = board.piece(1);  // lying exactly on piece 1
    pressOn(1);
    EXPECT_EQ(board.selectedPiece, 2);
}

TEST_F(Fixture, PressesOutsideTheCellsAreIgnoredEvenWithAPieceHeld)
{
    pressOn(1);
    view.clear();
    press(PointerButton::Left, 91 * kCell, 30 * kCell);  // the closing edge column
    press(PointerButton::Left, 30 * kCell, 61 * kCell);
    press(PointerButton::Right, 91 * kCell, 30 * kCell);
    EXPECT_TRUE(view.events.empty());
    EXPECT_EQ(board.selectedPiece, 1);
}

TEST_F(Fixture, TheSolvingDropEndsPlay)
{
    // The target is the present layout with piece 8 in place.
    board.targetGrid = gridOf(board, {1, 2, 3, 4, 5, 6, 7, 8});
    const Cell anchor = *firstFilledCell(board.targetGrid);
    board.targetAnchorX = anchor.x;
    board.targetAnchorY = anchor.y;
    const PieceState home = board.piece(8);
    pressOn(8);
    drag((home.x - 4) * kCell, home.y * kCell);
    press(PointerButton::Left, 45 * kCell, 30 * kCell);  // dropped away: not solved
    EXPECT_EQ(board.solveState, SolveState::Playing);

    pressOn(8);
    drag(home.x * kCell, home.y * kCell);
    view.clear();
    pressOn(1);  // puts piece 8 home; the same press must not pick up piece 1
    EXPECT_EQ(view.events, (std::vector<std::string>{"sound 2", "put 8", "solved"}));
    EXPECT_EQ(board.solveState, SolveState::Solved);
    EXPECT_EQ(board.selectedPiece, 0);

    view.clear();
    pressOn(1);
    press(PointerButton::Right, 10, 10);
    EXPECT_TRUE(view.events.empty());
}

TEST_F(Fixture, DroppedQuellonIgnoresEveryPress)
{
    board.solveState = SolveState::Dropped;
    pressOn(1);
    pressOn(1, PointerButton::Middle);
    EXPECT_EQ(board.selectedPiece, 0);
    EXPECT_TRUE(view.events.empty());
}

// The contract of an outcome, for each kind of event in turn: the steps in
// the order they happened, each naming its piece; a move or turn carries the
// held piece's place before and after, so that the window can take the
// outline off where it was and draw it where the board now has it.
TEST_F(Fixture, EachEventReportsItsStepsAndThePlacesAroundAMoveOrTurn)
{
    board.liftPiece(4);
    board.piece(4) = PieceState{45, 30, 5};
    board.stampPiece(4);
    using Kind = PointerStep::Kind;
    struct Row {
        const char* what;
        std::function<PointerOutcome()> event;
        std::vector<std::pair<Kind, int>> steps;
        bool byButton = false;
    };
    // Each event reads the board when it happens.
    auto pressAt = [this](PointerButton button, auto where) {
        return [=, this] {
            const auto [px, py] = where();
            return interaction.pointerPressed(button, px, py);
        };
    };
    auto dragTo = [this](auto where) {
        return [=, this] {
            const auto [px, py] = where();
            return interaction.pointerMoved(true, px, py);
        };
    };
    auto fixed = [](int px, int py) { return [=] { return std::pair{px, py}; }; };
    auto anchorOf = [this](int n) {
        return [=, this] { return std::pair{board.piece(n).x * kCell, board.piece(n).y * kCell}; };
    };
    auto tipOf4 = [this] { return towardCorner(board.piece(4), 0, 0.8); };
    // A sixteenth of a turn counter-clockwise from the tip, centred on its
    // step so that no rounding decides it.
    auto nextStepOf4 = [this] {
        const PieceState& held = board.piece(4);
        const auto [gx, gy] = towardCorner(held, 0, 0.8);
        const double a = (directionStep(gx - held.x * kCell, gy - held.y * kCell) + 1) * kPi / 8;
        return std::pair{static_cast<int>(std::lround(held.x * kCell + 5 * kCell * std::cos(a))),
                         static_cast<int>(std::lround(held.y * kCell - 5 * kCell * std::sin(a)))};
    };
    const Row rows[] = {
        {"a press on no piece", pressAt(PointerButton::Left, fixed(2 * kCell, 2 * kCell)), {}},
        {"a press on a piece", pressAt(PointerButton::Left, anchorOf(4)), {{Kind::PickedUp, 4}}},
        {"a drag of a move grab", dragTo(fixed(47 * kCell, 31 * kCell)), {{Kind::Moved, 4}}},
        {"a drag within the same cell", dragTo(fixed(47 * kCell + 2, 31 * kCell + 2)), {}},
        {"a right press", pressAt(PointerButton::Right, fixed(3, 3)), {{Kind::Turned, 4}}, true},
        {"a press off the held piece", pressAt(PointerButton::Left, fixed(2 * kCell, 2 * kCell)), {{Kind::PutDown, 4}}},
        {"a press on a piece's tip", pressAt(PointerButton::Left, tipOf4), {{Kind::PickedUp, 4}}},
        {"a drag of a turn grab", dragTo(nextStepOf4), {{Kind::Turned, 4}}},
        {"a press on the held piece's anchor", pressAt(PointerButton::Left, anchorOf(4)), {}},
        {"a drag onto another piece", dragTo(anchorOf(2)), {{Kind::Moved, 4}}},
        {"a press off it there", pressAt(PointerButton::Left, fixed(80 * kCell, 55 * kCell)), {{Kind::Refused, 4}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const PieceState before = board.piece(4);
        const PointerOutcome outcome = row.event();
        std::vector<std::pair<Kind, int>> steps;
        for (const PointerStep& step : outcome) {
            steps.emplace_back(step.kind, step.piece);
            if (step.kind == Kind::Moved || step.kind == Kind::Turned) {
                EXPECT_EQ(step.from, before);
                EXPECT_EQ(step.to, board.piece(step.piece));
                EXPECT_NE(step.from, step.to);
                EXPECT_EQ(step.byButton, row.byButton);
            }
        }
        EXPECT_EQ(steps, row.steps);
    }
}
