// The load dialog: lists the saved games of the games directory, refilled at
// every showing; choosing a line closes it with Ok and the chosen name.
#pragma once

#include <optional>
#include <string>

#include <QLabel>
#include <QListWidget>

#include "ui/dialog_look.h"
#include "engine/game_data.h"
#include "engine/settings_values.h"

namespace quellon {

class TLoadGameDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{357, 416};

    TLoadGameDlg(const GameData& game, const SettingsValues& settings, QWidget* parent = nullptr);

    // Shows the dialog: the name of the game chosen, nothing when cancelled.
    std::optional<std::string> chooseGame();
    // The name chosen at the last close with Ok.
    const std::string& chosenGame() const { return chosen_; }

    bool hasGames() const { return hasGames_; }
    QListWidget* nameList() const { return NameListBox; }
    QLabel* whatLabel() const { return WhatLabel; }
    ImageButton* cancelButton() const { return CancelBtn; }

    // Chooses a line as a click on it or a keyboard move onto it does.
    void NameListBoxClick(int row);

protected:
    void FormActivate() override;
    // Only a line or the cancel button closes it: no key does, Escape
    // included.
    std::optional<DialogResult> resultOfKey(int) const override { return std::nullopt; }
    std::optional<DialogResult> resultOfClose() const override { return DialogResult::Cancel; }

private:
    void fillNameList();
    void CancelBtnClick() { finish(DialogResult::Cancel); }

    const GameData& game_;
    std::string chosen_;
    const SettingsValues& settings_;
    bool hasGames_ = false;
    TexturedPanel* p7;
    QLabel* WhatLabel;
    QListWidget* NameListBox;
    ImageButton* CancelBtn;
};

}  // namespace quellon
