// The options dialog: five buttons, each stepping one option at once, with a
// label beside it that says the current value. There is no cancel; every
// change stays and is written to the settings when the program closes.
#pragma once

#include <functional>

#include <QKeyEvent>
#include <QLabel>

#include "ui/dialog_look.h"
#include "dialogs/title_column.h"
#include "session/game_state.h"

namespace quellon {

class TPatForm;

// What the options reach beyond their own values; an empty hook does nothing.
struct OptionHooks {
    std::function<bool()> toggleMusic;       // the music player's switch: whether music is now on
    std::function<bool()> musicFound;        // a music file was found at start-up
    std::function<QString()> musicFileName;  // bare name of the music file now chosen
    std::function<void()> applyLanguage;     // the main window's hints and caption
    std::function<void()> repaintMain;       // the main window with tool bar and board
};

class TOptionDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{497, 416};

    // `patternWindow` may be null when there is none to show or hide.
    TOptionDlg(SettingsValues& settings, TPatForm* patternWindow, OptionHooks hooks, QWidget* parent = nullptr);

    void updateOptionTexts();
    // The hooks may be filled after the dialog is made (the music player, say).
    OptionHooks& hooks() { return hooks_; }

    QLabel* label(const QString& name) const;  // "OptLabel", "TongueLabel", ...
    ImageButton* TongueBtn;
    ImageButton* SoundBtn;
    ImageButton* MusicBtn;
    ImageButton* BackBtn;
    ImageButton* PatBtn;
    ImageButton* OKBtn;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void TongueBtnClick();
    void SoundBtnClick();
    void MusicBtnClick();
    void BackBtnClick();
    void PatBtnClick();
    void exitClick() { finish(DialogResult::Cancel); }

    SettingsValues& settings_;
    TPatForm* patternWindow_;
    OptionHooks hooks_;
    TitleColumn titleColumn_;
    TexturedPanel* p7;
    QLabel* OptLabel;
    QLabel* TongueLabel;
    QLabel* SoundLabel;
    QLabel* MusicLabel;
    QLabel* BackLabel;
    QLabel* PatLabel;
};

} // namespace quellon
