// The game in play without a window: what each command changes, and what it
// hands the windows to show, in the order the game fixes.
#include <gtest/gtest.h>

#include <vector>

#include "session/game_session.h"
#include "tests/support/test_quellon.h"

namespace quellon {
namespace {

using Kind = SessionAction::Kind;

constexpr int kCell = 10;

std::vector<Kind> kinds(const SessionOutcome& outcome)
{
    std::vector<Kind> result;
    for (const SessionAction& action : outcome)
        result.push_back(action.kind);
    return result;
}

// Answers the prompts from fixed choices and notes what was asked.
class ScriptedPrompts : public SessionPrompts {
public:
    bool yes = true;
    std::optional<std::string> game;
    std::optional<int> quellon;
    std::vector<std::string> asked;

    bool confirm(MessageCode question) override
    {
        asked.push_back("question " + std::to_string(static_cast<int>(question)));
        return yes;
    }
    void offerSave() override { asked.push_back("save offer"); }
    std::optional<std::string> chooseSavedGame() override { return game; }
    std::optional<int> chooseQuellon() override { return quellon; }
    int chooseLanguage() override
    {
        asked.push_back("language");
        return kLanguageGerman;
    }
};

class GameSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GameData& game = session.game();
        game.quellonCount = 3;
        for (int n = 1; n <= 3; ++n)
            game.catalogue[static_cast<size_t>(n)] = testing::squareQuellon(20 + 10 * n, 20);
        game.currentQuellon = 1;
        session.settings().language = kLanguageEnglish;
        session.interaction().setCellSize(kCell);
        session.setUpCurrent();
    }

    // Every piece at its solution spot but piece 8, which lies apart.
    void layOutAllButTheLast()
    {
        Board& board = session.board();
        const PuzzleRecord& solution = session.game().workingRecord();
        for (int n = 1; n <= kPieceCount; ++n) {
            board.liftPiece(n);
            board.piece(n) = solution.pieces[static_cast<size_t>(n - 1)];
            if (n == kPieceCount)
                board.piece(n).x = static_cast<uint8_t>(board.piece(n).x + 30);
            board.stampPiece(n);
        }
    }

    // Picks piece 8 up, carries it home and lays it down.
    SessionOutcome solveWithTheLastPiece()
    {
        const PieceState apart = session.board().piece(kPieceCount);
        const PieceState home = session.game().workingRecord().pieces[kPieceCount - 1];
        session.pointerPressed(PointerButton::Left, apart.x * kCell, apart.y * kCell);
        session.pointerMoved(true, home.x * kCell, home.y * kCell);
        return session.pointerPressed(PointerButton::Left, 3 * kCell, 3 * kCell);
    }

    GameSession session;
    ScriptedPrompts prompts;
};

// A solve: the put-down's sound and drawing, the colours, then the progress,
// the solve's sound, the message, the pattern and the caption.
TEST_F(GameSessionTest, SolveRunsItsStepsInOrder)
{
    layOutAllButTheLast();
    const SessionOutcome outcome = solveWithTheLastPiece();
    EXPECT_EQ(kinds(outcome), (std::vector<Kind>{Kind::PlaySound, Kind::DrawStep, Kind::DrawStep, Kind::PlaySound,
                                                 Kind::ShowMessage, Kind::RepaintPattern, Kind::UpdateTitle}));
    const std::vector<SessionAction>& actions = outcome.actions;
    EXPECT_EQ(actions[0].sound, kSoundPutDown);
    EXPECT_EQ(actions[1].step.kind, PointerStep::Kind::PutDown);
    EXPECT_EQ(actions[2].step.kind, PointerStep::Kind::Solved);
    EXPECT_EQ(actions[3].sound, kSoundSolved);
    EXPECT_EQ(actions[4].code, MessageCode::Solved);
    EXPECT_TRUE(actions[4].text.empty());
    EXPECT_EQ(session.game().progressTable[1], kFinishedBit);
    EXPECT_TRUE(session.unsavedProgress());
    EXPECT_EQ(session.titleProgress(), kFinishedBit);
}

// With sound off the same order holds without a single sound.
TEST_F(GameSessionTest, SoundOffLeavesOutEverySound)
{
    session.settings().soundOn = false;
    layOutAllButTheLast();
    EXPECT_EQ(kinds(solveWithTheLastPiece()), (std::vector<Kind>{Kind::DrawStep, Kind::DrawStep, Kind::ShowMessage,
                                                                 Kind::RepaintPattern, Kind::UpdateTitle}));
}

// Each command's outcome, in order; the prompts it asked come first.
TEST_F(GameSessionTest, CommandsShowTheirEffectsInOrder)
{
    const std::vector<Kind> refresh{Kind::ShowSetUp, Kind::RepaintMain, Kind::RepaintPattern, Kind::UpdateTitle};
    EXPECT_EQ(kinds(session.next()), refresh);
    EXPECT_EQ(session.game().currentQuellon, 2);
    EXPECT_EQ(kinds(session.previous()), refresh);
    EXPECT_EQ(kinds(session.previous()), refresh);
    EXPECT_EQ(session.game().currentQuellon, 3);

    prompts.quellon = 2;
    EXPECT_EQ(kinds(session.select(prompts)),
              (std::vector<Kind>{Kind::ShowSetUp, Kind::RepaintMain, Kind::UpdateTitle, Kind::RepaintPattern}));
    EXPECT_EQ(session.game().workingRecord(), session.game().catalogue[2]);
    prompts.quellon.reset();
    EXPECT_TRUE(session.select(prompts).empty());

    EXPECT_EQ(kinds(session.help()), (std::vector<Kind>{Kind::PlainCursor, Kind::RepaintBoard}));
    EXPECT_TRUE(session.unsavedProgress());

    // Declined, nothing happens; agreed, the save is offered before anything
    // is cleared.
    session.game().gameName = "evening";
    prompts.yes = false;
    EXPECT_TRUE(session.newGame(prompts).empty());
    EXPECT_EQ(session.game().progressTable[2], 1);
    prompts.yes = true;
    prompts.asked.clear();
    EXPECT_EQ(kinds(session.newGame(prompts)), refresh);
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{"question 4", "save offer"}));
    EXPECT_EQ(session.game().progressTable[2], 0);
    EXPECT_TRUE(session.game().gameName.empty());
    EXPECT_FALSE(session.unsavedProgress());

    // A game that cannot be read: the notice names it, the caption follows.
    prompts.game = "gone";
    const SessionOutcome failed = session.load(prompts);
    EXPECT_EQ(kinds(failed), (std::vector<Kind>{Kind::ShowMessage, Kind::UpdateTitle}));
    EXPECT_EQ(failed.actions[0].text, "Error occured while loading file gone");

    // Nothing unsolved: only the notice and the caption.
    session.game().progressTable.fill(kFinishedBit);
    const SessionOutcome none = session.nextUnsolved();
    EXPECT_EQ(kinds(none), (std::vector<Kind>{Kind::ShowMessage, Kind::UpdateTitle}));
    EXPECT_EQ(none.actions[0].text, "All Quellons already solved.");

    // Closing: the question, then the save offer only while something is unsaved.
    prompts.asked.clear();
    EXPECT_TRUE(session.closeRequested(prompts));
    EXPECT_EQ(prompts.asked, std::vector<std::string>{"question 3"});
    prompts.yes = false;
    EXPECT_FALSE(session.closeRequested(prompts));

    // The language is asked for once, and only when none was ever chosen.
    prompts.asked.clear();
    session.firstActivation(prompts);
    EXPECT_TRUE(prompts.asked.empty());
    session.settings().language = kLanguageUnset;
    session.firstActivation(prompts);
    session.firstActivation(prompts);
    EXPECT_EQ(prompts.asked, std::vector<std::string>{"language"});
    EXPECT_EQ(session.settings().language, kLanguageGerman);
}

// The options dialog's steps: the value, then what the windows redraw.
TEST_F(GameSessionTest, OptionStepsRedrawWhatTheyChange)
{
    struct Case {
        GameSession::Option option;
        int patmodeBefore;
        std::vector<Kind> expected;
    };
    const std::vector<Case> cases{
        {GameSession::Option::Language, 2, {Kind::ApplyHints, Kind::UpdateTitle, Kind::RepaintPattern}},
        {GameSession::Option::Sound, 2, {Kind::SwitchSounds}},
        {GameSession::Option::Background, 2, {Kind::RepaintMain}},
        {GameSession::Option::PatternMode, 3, {Kind::ReshowPattern, Kind::RepaintMain}},  // to the board
        {GameSession::Option::PatternMode, 0, {Kind::ReshowPattern, Kind::RepaintMain}},  // off the board
        {GameSession::Option::PatternMode, 1, {Kind::ReshowPattern}},                     // window to window
    };
    for (const Case& c : cases) {
        session.settings().patmode = c.patmodeBefore;
        EXPECT_EQ(kinds(session.stepOption(c.option)), c.expected) << static_cast<int>(c.option);
    }
    EXPECT_EQ(session.settings().language, kLanguageGerman);
    EXPECT_FALSE(session.settings().soundOn);
    // The sound switch goes to the sound effects with its new value.
    EXPECT_TRUE(session.stepOption(GameSession::Option::Sound).actions.at(0).soundOn);
    EXPECT_FALSE(session.stepOption(GameSession::Option::Sound).actions.at(0).soundOn);
    EXPECT_EQ(session.settings().background, 1);
    EXPECT_EQ(session.settings().patmode, 2);
}

}  // namespace
}  // namespace quellon
