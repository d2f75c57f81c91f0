// A random player driving the game in play directly, with no window: pointer
// presses and moves with every button, the commands that need no dialog, and
// now and then a piece carried to its solution spot so that solves happen.
// After every command the board and the progress must still be sound, and
// the outcome must say what happened.
#include <gtest/gtest.h>

#include <random>

#include "engine/orientation_table.h"
#include "session/game_session.h"
#include "tests/support/test_quellon.h"

namespace quellon {
namespace {

constexpr int kCell = 7;

// The layout grid holds the codes of every piece but the held one.
bool layoutMatchesPieces(const Board& board)
{
    Grid grid{};
    for (int n = 1; n <= kPieceCount; ++n)
        if (n != board.selectedPiece)
            addPieceCodes(grid, board.piece(n), +1);
    return grid == board.layoutGrid;
}

TEST(SessionMonkey, RandomPlayKeepsTheBoardAndTheProgressSound)
{
    GameSession session(7);
    GameData& game = session.game();
    game.quellonCount = 5;
    for (int n = 1; n <= game.quellonCount; ++n)
        game.catalogue[static_cast<size_t>(n)] = testing::squareQuellon(20 + 6 * n, 15 + 3 * n);
    session.interaction().setCellSize(kCell);
    session.setUpCurrent();

    std::mt19937 random(20261208);
    auto roll = [&random](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    int solves = 0;
    for (int event = 0; event < 20000; ++event) {
        const auto before = game.progressTable;
        const int current = game.currentQuellon;
        SessionOutcome outcome;
        const int kind = roll(100);
        const int px = roll(kBoardColumns * kCell);
        const int py = roll(kBoardRows * kCell);
        if (kind < 45) {
            outcome = session.pointerPressed(static_cast<PointerButton>(roll(3)), px, py);
        } else if (kind < 90) {
            outcome = session.pointerMoved(roll(2) == 0, px, py);
        } else if (kind < 92) {
            // Carry each piece home in turn, turned as in the solution.
            const Board& board = session.board();
            if (board.selectedPiece != 0)
                session.pointerPressed(PointerButton::Left, 0, 0);
            for (int n = 1; n <= kPieceCount && board.solveState == SolveState::Playing; ++n) {
                const PieceState home = game.workingRecord().pieces[static_cast<size_t>(n - 1)];
                if (board.piece(n) == home)
                    continue;
                session.pointerPressed(PointerButton::Left, board.piece(n).x * kCell, board.piece(n).y * kCell);
                if (board.selectedPiece == 0)
                    continue;
                const int held = board.selectedPiece;
                const PieceState target = game.workingRecord().pieces[static_cast<size_t>(held - 1)];
                for (int turn = 0; turn < kOrientationCount && board.piece(held).orientation != target.orientation;
                     ++turn)
                    session.pointerPressed(PointerButton::Right, 0, 0);
                session.pointerMoved(true, (target.x - session.interaction().dragOffsetX) * kCell,
                                     (target.y - session.interaction().dragOffsetY) * kCell);
                // A press away from the held piece lays it down.
                outcome = session.pointerPressed(PointerButton::Left, 0, 0);
                if (!layoutMatchesPieces(board))
                    break;
            }
        } else {
            switch (roll(5)) {
            case 0:
                outcome = session.next();
                break;
            case 1:
                outcome = session.previous();
                break;
            case 2:
                outcome = session.help();
                break;
            case 3:
                outcome = session.nextUnsolved();
                break;
            default:
                outcome = session.previousUnsolved();
                break;
            }
        }

        const Board& board = session.board();
        ASSERT_TRUE(layoutMatchesPieces(board)) << "event " << event;
        for (int n = 1; n <= kPieceCount; ++n)
            ASSERT_TRUE(board.inBounds(board.piece(n).x, board.piece(n).y, board.piece(n).orientation))
                << "piece " << n << " at event " << event;
        bool solvedStep = false;
        bool solvedMessage = false;
        for (const SessionAction& action : outcome) {
            if (action.kind == SessionAction::Kind::DrawStep) {
                ASSERT_GE(action.step.piece, action.step.kind == PointerStep::Kind::Solved ? 0 : 1);
                ASSERT_LE(action.step.piece, kPieceCount);
                solvedStep |= action.step.kind == PointerStep::Kind::Solved;
            }
            solvedMessage |= action.kind == SessionAction::Kind::ShowMessage && action.code == MessageCode::Solved;
        }
        ASSERT_EQ(solvedStep, solvedMessage) << "event " << event;
        if (solvedStep) {
            ++solves;
            ASSERT_EQ(board.solveState, SolveState::Solved);
            ASSERT_TRUE(isFinished(game.progressTable[static_cast<size_t>(current)]));
        }
        // Only the Quellon in play changes its progress, only by a solve or
        // one help step, and every change waits to be saved.
        for (size_t n = 1; n <= kMaxQuellons; ++n) {
            if (static_cast<int>(n) != current) {
                ASSERT_EQ(game.progressTable[n], before[n]) << "Quellon " << n << " at event " << event;
                continue;
            }
            const uint8_t after = game.progressTable[n];
            if (after == before[n])
                continue;
            const int level = helpLevel(before[n]);
            const bool solve = !isFinished(before[n]) && after == (before[n] | kFinishedBit);
            const bool help =
                !isFinished(before[n]) && after == (level + 1 == kDroppedLevel ? kDroppedValue : level + 1);
            ASSERT_TRUE(solve || help) << int{before[n]} << " became " << int{after} << " at event " << event;
            ASSERT_TRUE(session.unsavedProgress()) << "event " << event;
            session.setUnsavedProgress(false);
        }
    }
    EXPECT_GT(solves, 0);
}

}  // namespace
}  // namespace quellon
