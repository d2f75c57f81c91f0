// The language question of the first start: German or English, by flag.
#pragma once

#include <QKeyEvent>
#include <QLabel>

#include "ui/dialog_look.h"
#include "dialogs/title_column.h"
#include "session/game_state.h"

namespace quellon {

class TTongueDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{408, 162};

    explicit TTongueDlg(SettingsValues& settings, QWidget* parent = nullptr);

    ImageButton* GermanBtn;
    ImageButton* EnglishBtn;
    QLabel* TongueLabel;
    QLabel* Label1;

    // Only the two buttons close it: no keys, no other way out.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override { event->accept(); }
    // A click on a flag's sentence counts as a click on the flag.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GermanBtnClick();
    void EnglishBtnClick();

    SettingsValues& settings_;
    TitleColumn titleColumn_;
    TexturedPanel* p10;
};

} // namespace quellon
