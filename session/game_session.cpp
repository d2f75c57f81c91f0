// The game in play: each command's rules and the order of what it shows.
#include "session/game_session.h"

#include "engine/catalogue.h"
#include "engine/options.h"
#include "engine/window_texts.h"

namespace quellon {

namespace {

void add(SessionOutcome& outcome, SessionAction::Kind kind)
{
    SessionAction action;
    action.kind = kind;
    outcome.actions.push_back(std::move(action));
}

// The main window, the pattern window and the caption, after the Quellon or
// the game changed.
void addRefresh(SessionOutcome& outcome)
{
    add(outcome, SessionAction::Kind::RepaintMain);
    add(outcome, SessionAction::Kind::RepaintPattern);
    add(outcome, SessionAction::Kind::UpdateTitle);
}

void addMessage(SessionOutcome& outcome, MessageCode code, std::string text)
{
    SessionAction action;
    action.kind = SessionAction::Kind::ShowMessage;
    action.code = code;
    action.text = std::move(text);
    outcome.actions.push_back(std::move(action));
}

}  // namespace

GameSession::GameSession(uint32_t seed) : random_(seed), interaction_(board_) {}

uint8_t GameSession::titleProgress() const
{
    return game_.currentQuellon >= 1 && game_.currentQuellon <= kMaxQuellons ? game_.currentProgress() : uint8_t{0};
}

void GameSession::addSound(SoundNumber sound, SessionOutcome& outcome) const
{
    if (!settings_.soundOn)
        return;
    SessionAction action;
    action.kind = SessionAction::Kind::PlaySound;
    action.sound = sound;
    outcome.actions.push_back(std::move(action));
}

void GameSession::addSetUp(SessionOutcome& outcome)
{
    SessionAction action;
    action.kind = SessionAction::Kind::ShowSetUp;
    action.helpOffered = setUpQuellon(board_, game_, random_);
    outcome.actions.push_back(std::move(action));
}

SessionOutcome GameSession::setUpCurrent()
{
    SessionOutcome outcome;
    addSetUp(outcome);
    return outcome;
}

// ---- the board under the pointer ---------------------------------------

SessionOutcome GameSession::pointerPressed(PointerButton button, int px, int py)
{
    return pointerOutcome(interaction_.pointerPressed(button, px, py));
}

SessionOutcome GameSession::pointerMoved(bool leftHeld, int px, int py)
{
    return pointerOutcome(interaction_.pointerMoved(leftHeld, px, py));
}

SessionOutcome GameSession::pointerOutcome(const PointerOutcome& pointer)
{
    SessionOutcome outcome;
    if (pointer.zone) {
        SessionAction action;
        action.kind = SessionAction::Kind::ShowZone;
        action.zone = *pointer.zone;
        outcome.actions.push_back(action);
    }
    for (const PointerStep& step : pointer) {
        SessionAction draw;
        draw.kind = SessionAction::Kind::DrawStep;
        draw.step = step;
        if (step.kind != PointerStep::Kind::Solved) {
            // Each step's sound is heard before the step is drawn.
            if (const std::optional<SoundNumber> sound = stepSound(step))
                addSound(*sound, outcome);
            outcome.actions.push_back(draw);
            continue;
        }
        // A solve: the colours, the progress, the sound, the message, the
        // pattern, and the caption, which shows the solved mark.
        outcome.actions.push_back(draw);
        recordSolve(game_, unsavedProgress_);
        addSound(kSoundSolved, outcome);
        addMessage(outcome, MessageCode::Solved, {});
        add(outcome, SessionAction::Kind::RepaintPattern);
        add(outcome, SessionAction::Kind::UpdateTitle);
    }
    return outcome;
}

// ---- the tool buttons --------------------------------------------------

SessionOutcome GameSession::newGame(SessionPrompts& prompts)
{
    SessionOutcome outcome;
    if (!prompts.confirm(MessageCode::NewGame))
        return outcome;
    if (unsavedProgress_)
        prompts.offerSave();
    clearProgress(game_, game_.quellonCount);
    addSetUp(outcome);
    unsavedProgress_ = false;
    game_.gameName.clear();
    addRefresh(outcome);
    return outcome;
}

SessionOutcome GameSession::load(SessionPrompts& prompts)
{
    if (unsavedProgress_)
        prompts.offerSave();
    const std::optional<std::string> name = prompts.chooseSavedGame();
    if (!name)
        return {};
    return loadGame(*name);
}

SessionOutcome GameSession::loadGame(const std::string& name)
{
    SessionOutcome outcome;
    game_.gameName = name;
    const LoadResult result = loadSavedGame(game_, name);
    if (!result.ok) {
        addMessage(outcome, MessageCode::Notice, result.failure.text(settings_.language));
        add(outcome, SessionAction::Kind::UpdateTitle);
        return outcome;
    }
    unsavedProgress_ = false;
    addSetUp(outcome);
    addRefresh(outcome);
    return outcome;
}

SessionOutcome GameSession::help()
{
    SessionOutcome outcome;
    if (!giveHelp(board_, game_, random_).given)
        return outcome;
    unsavedProgress_ = true;
    add(outcome, SessionAction::Kind::PlainCursor);
    // A full repaint rather than erasing the pieces with the field colour:
    // that would also wipe the silhouette beneath them.
    add(outcome, SessionAction::Kind::RepaintBoard);
    return outcome;
}

SessionOutcome GameSession::select(SessionPrompts& prompts)
{
    SessionOutcome outcome;
    const std::optional<int> chosen = prompts.chooseQuellon();
    if (!chosen)
        return outcome;
    game_.currentQuellon = *chosen;
    addSetUp(outcome);
    add(outcome, SessionAction::Kind::RepaintMain);
    add(outcome, SessionAction::Kind::UpdateTitle);
    add(outcome, SessionAction::Kind::RepaintPattern);
    return outcome;
}

SessionOutcome GameSession::next()
{
    SessionOutcome outcome;
    nextQuellon(game_);
    addSetUp(outcome);
    addRefresh(outcome);
    return outcome;
}

SessionOutcome GameSession::previous()
{
    SessionOutcome outcome;
    previousQuellon(game_);
    addSetUp(outcome);
    addRefresh(outcome);
    return outcome;
}

SessionOutcome GameSession::unsolvedSearch(bool (*search)(GameData&))
{
    SessionOutcome outcome;
    if (search(game_)) {
        addSetUp(outcome);
        add(outcome, SessionAction::Kind::RepaintMain);
        add(outcome, SessionAction::Kind::RepaintPattern);
    } else {
        addMessage(outcome, kAllSolvedNotice.code, kAllSolvedNotice.text(settings_.language));
    }
    add(outcome, SessionAction::Kind::UpdateTitle);
    return outcome;
}

SessionOutcome GameSession::nextUnsolved() { return unsolvedSearch(nextUnfinished); }

SessionOutcome GameSession::previousUnsolved() { return unsolvedSearch(previousUnfinished); }

SessionOutcome GameSession::stepOption(Option option)
{
    SessionOutcome outcome;
    switch (option) {
    case Option::Language:
        settings_.language = nextLanguage(settings_.language);
        add(outcome, SessionAction::Kind::ApplyHints);
        add(outcome, SessionAction::Kind::UpdateTitle);
        add(outcome, SessionAction::Kind::RepaintPattern);
        break;
    case Option::Sound: {
        settings_.soundOn = !settings_.soundOn;
        SessionAction action;
        action.kind = SessionAction::Kind::SwitchSounds;
        action.soundOn = settings_.soundOn;
        outcome.actions.push_back(std::move(action));
        break;
    }
    case Option::Background:
        settings_.background = nextBackground(settings_.background);
        add(outcome, SessionAction::Kind::RepaintMain);
        break;
    case Option::PatternMode:
        settings_.patmode = nextPatternMode(settings_.patmode);
        // Hidden and shown again, the window takes the size of the new placement.
        add(outcome, SessionAction::Kind::ReshowPattern);
        // Placements 0 and 1 draw the pattern on the board or take it away again.
        if (settings_.patmode < 2)
            add(outcome, SessionAction::Kind::RepaintMain);
        break;
    }
    return outcome;
}

void GameSession::firstActivation(SessionPrompts& prompts)
{
    if (settings_.language == kLanguageUnset)
        settings_.language = prompts.chooseLanguage();
}

bool GameSession::closeRequested(SessionPrompts& prompts)
{
    if (!prompts.confirm(MessageCode::Quit))
        return false;
    if (unsavedProgress_)
        prompts.offerSave();
    return true;
}

}  // namespace quellon
