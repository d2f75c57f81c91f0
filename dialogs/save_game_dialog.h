// The save dialog: asks for the name under which the game is saved. It starts
// with the current game name; OK takes the typed text exactly as it stands.
#pragma once

#include <QLabel>
#include <QLineEdit>

#include <optional>

#include "ui/dialog_look.h"
#include "engine/game_data.h"
#include "engine/settings_values.h"

namespace quellon {

class TSaveGameDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{357, 187};

    TSaveGameDlg(GameData& game, const SettingsValues& settings, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return NameEdit; }
    QLabel* askLabel() const { return AskLabel; }
    ImageButton* okButton() const { return OKBtn; }
    ImageButton* cancelButton() const { return CancelBtn; }
    // The next showing starts with `name`, selected, instead of the game name.
    void offerName(const QString& name) { offeredName_ = name; }

protected:
    void FormActivate() override;
    // Only the two buttons close it; Enter and Escape do nothing.
    std::optional<DialogResult> resultOfKey(int) const override { return std::nullopt; }
    std::optional<DialogResult> resultOfClose() const override { return DialogResult::Cancel; }

private:
    void exitClick();
    void CancelBtnClick() { finish(DialogResult::Cancel); }

    GameData& game_;
    const SettingsValues& settings_;
    std::optional<QString> offeredName_;
    TexturedPanel* p7;
    QLabel* AskLabel;
    QLineEdit* NameEdit;
    ImageButton* CancelBtn;
    ImageButton* OKBtn;
};

}  // namespace quellon
