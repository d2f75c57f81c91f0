// The load dialog: lists the saved games of the games directory, refilled at
// every showing; choosing a line closes it with Ok and the chosen name.
#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include "ui/dialog_look.h"
#include "engine/game_data.h"
#include "session/game_state.h"

namespace quellon {

class TLoadGameDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{357, 416};

    TLoadGameDlg(GameData& game, const SettingsValues& settings, QWidget* parent = nullptr);

    bool hasGames() const { return hasGames_; }
    QListWidget* nameList() const { return NameListBox; }
    QLabel* whatLabel() const { return WhatLabel; }
    ImageButton* cancelButton() const { return CancelBtn; }

    // Chooses a line as a click on it or a keyboard move onto it does.
    void NameListBoxClick(int row);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormActivate();
    void fillNameList();
    void CancelBtnClick() { finish(DialogResult::Cancel); }

    GameData& game_;
    const SettingsValues& settings_;
    bool hasGames_ = false;
    TexturedPanel* p7;
    QLabel* WhatLabel;
    QListWidget* NameListBox;
    ImageButton* CancelBtn;
};

} // namespace quellon
