// The options dialog: five buttons, each stepping one option at once, with a
// label beside it that says the current value. There is no cancel; every
// change stays and is written to the settings when the program closes.
#pragma once

#include <QLabel>

#include "ui/dialog_look.h"
#include "dialogs/title_column.h"
#include "session/game_session.h"

namespace quellon {

// What the options reach beyond the dialog.
class OptionEffects {
public:
    virtual ~OptionEffects() = default;
    // Steps an option's value and shows it in the other windows.
    virtual void stepOption(GameSession::Option option) = 0;
    // The music player's switch; the music setting follows it.
    virtual void toggleMusic() = 0;
    // A music file was found at start-up; the bare name of the one chosen.
    virtual bool musicFound() const = 0;
    virtual QString musicFileName() const = 0;
};

class TOptionDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{497, 416};

    // The labels show the values of `settings`, which `effects` changes.
    TOptionDlg(const SettingsValues& settings, OptionEffects& effects, QWidget* parent = nullptr);

    void updateOptionTexts();

    QLabel* label(const QString& name) const;  // "OptLabel", "TongueLabel", ...
    ImageButton* TongueBtn;
    ImageButton* SoundBtn;
    ImageButton* MusicBtn;
    ImageButton* BackBtn;
    ImageButton* PatBtn;
    ImageButton* OKBtn;

protected:
    void FormActivate() override { updateOptionTexts(); }
    // Only the confirming keys close it, with Ok; Escape leaves it open.
    std::optional<DialogResult> resultOfKey(int key) const override;
    // As its tick button.
    std::optional<DialogResult> resultOfClose() const override { return DialogResult::Cancel; }

private:
    void TongueBtnClick();
    void SoundBtnClick();
    void MusicBtnClick();
    void BackBtnClick();
    void PatBtnClick();
    void exitClick() { finish(DialogResult::Cancel); }

    const SettingsValues& settings_;
    OptionEffects& effects_;
    TitleColumn titleColumn_;
    TexturedPanel* p7;
    QLabel* OptLabel;
    QLabel* TongueLabel;
    QLabel* SoundLabel;
    QLabel* MusicLabel;
    QLabel* BackLabel;
    QLabel* PatLabel;
};

}  // namespace quellon
