// The game in play: the catalogue with the progress, the current Quellon and
// the game name, the option values, the board with its pointer handling, the
// random source of the set-up and the unsaved-progress flag. Every command a
// player gives is one call here; it changes the game and returns what the
// windows must show, in the order the game fixes. The windows decide nothing:
// they forward input and carry out the outcome.
//
// Questions and dialogs whose answer the command needs before it can go on
// (the new-game question, the save offer, the choice of a saved game or a
// Quellon) are asked through SessionPrompts, handed in with the command.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/board.h"
#include "engine/game_data.h"
#include "engine/interaction.h"
#include "engine/messages.h"
#include "engine/settings_values.h"
#include "engine/setup.h"
#include "engine/sounds.h"

namespace quellon {

// One thing the windows do to show a command's effect.
struct SessionAction {
    enum class Kind : uint8_t {
        ShowZone,        // the board's cursor for `zone`, the zone under the pointer
        DrawStep,        // the board draws pointer step `step`
        PlaySound,       // sound `sound`
        ShowMessage,     // message `code` with `text`; an empty text: the code's own
        ShowSetUp,       // the board was laid out afresh: TipBtn enabled by `helpOffered`, plain cursor
        PlainCursor,     // the board's plain cursor
        RepaintBoard,    // the board alone
        RepaintMain,     // the main window with tool bar and board
        RepaintPattern,  // the pattern window
        ReshowPattern,   // the pattern window hidden, and shown again while a placement asks for it
        ApplyHints,      // the tool buttons' hints in the language now chosen
        UpdateTitle,     // the main window's caption
        SwitchSounds,    // the player's sound switch is now `soundOn`
    };
    Kind kind = Kind::UpdateTitle;
    PointerStep step{};
    HitZone zone = HitZone::Outside;
    SoundNumber sound = kSoundPickUp;
    MessageCode code = MessageCode::Notice;
    std::string text;
    bool helpOffered = false;
    bool soundOn = false;
};

// What one command did, in order.
struct SessionOutcome {
    std::vector<SessionAction> actions;

    bool empty() const { return actions.empty(); }
    auto begin() const { return actions.begin(); }
    auto end() const { return actions.end(); }
};

// What a command asks of the player before it goes on.
class SessionPrompts {
public:
    virtual ~SessionPrompts() = default;
    // A fixed question (MessageCode::NewGame, MessageCode::Quit): true on Yes.
    virtual bool confirm(MessageCode question) = 0;
    // The save offer, asked for only while there is unsaved progress; it
    // clears the flag when it saved or the player declined.
    virtual void offerSave() = 0;
    // The load dialog: the name of the game chosen, nothing when cancelled.
    virtual std::optional<std::string> chooseSavedGame() = 0;
    // The selection dialog: the Quellon chosen, nothing when cancelled.
    virtual std::optional<int> chooseQuellon() = 0;
    // The language question: kLanguageGerman or kLanguageEnglish.
    virtual int chooseLanguage() = 0;
};

class GameSession {
public:
    explicit GameSession(uint32_t seed = 0);
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    GameData& game() { return game_; }
    const GameData& game() const { return game_; }
    SettingsValues& settings() { return settings_; }
    const SettingsValues& settings() const { return settings_; }
    Board& board() { return board_; }
    const Board& board() const { return board_; }
    PieceInteraction& interaction() { return interaction_; }
    bool unsavedProgress() const { return unsavedProgress_; }
    void setUnsavedProgress(bool unsaved) { unsavedProgress_ = unsaved; }
    void reseed(uint32_t seed) { random_ = PieceRandom(seed); }
    // The progress byte the caption shows: none while no Quellon is current.
    uint8_t titleProgress() const;

    // The board's pointer events, in board pixels.
    SessionOutcome pointerPressed(PointerButton button, int px, int py);
    SessionOutcome pointerMoved(bool leftHeld, int px, int py);

    // The tool buttons.
    SessionOutcome newGame(SessionPrompts& prompts);
    SessionOutcome load(SessionPrompts& prompts);
    SessionOutcome help();
    SessionOutcome select(SessionPrompts& prompts);
    SessionOutcome next();
    SessionOutcome previous();
    SessionOutcome nextUnsolved();
    SessionOutcome previousUnsolved();
    // A button of the options dialog, each stepping its value at once.
    enum class Option : uint8_t { Language, Sound, Background, PatternMode };
    SessionOutcome stepOption(Option option);
    // The music player's switch, which says whether music is now on.
    void setMusicOn(bool on) { settings_.musicOn = on; }
    // The player asked to close: true when the program may end, after the
    // save offer.
    bool closeRequested(SessionPrompts& prompts);
    // The main window's first activation: a player who never chose a
    // language is asked before any text is shown in one.
    void firstActivation(SessionPrompts& prompts);

    // The set-up of the current Quellon, as every change of Quellon or game does.
    SessionOutcome setUpCurrent();
    // Loads the saved game `name`; a failure leaves a notice naming it.
    SessionOutcome loadGame(const std::string& name);

private:
    SessionOutcome pointerOutcome(const PointerOutcome& pointer);
    void addSound(SoundNumber sound, SessionOutcome& outcome) const;
    void addSetUp(SessionOutcome& outcome);
    SessionOutcome unsolvedSearch(bool (*search)(GameData&));

    GameData game_;
    SettingsValues settings_;
    Board board_;
    PieceRandom random_;
    PieceInteraction interaction_;
    bool unsavedProgress_ = false;
};

}  // namespace quellon
