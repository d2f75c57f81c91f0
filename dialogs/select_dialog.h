// The picture selection of a Quellon: sixteen silhouettes a page, four by
// four, with their numbers and, for finished ones, a face for the help used.
// A click on a picture makes it the current Quellon.
#pragma once

#include <optional>

#include <QSlider>

#include "ui/dialog_look.h"
#include "dialogs/title_column.h"
#include "engine/game_data.h"
#include "engine/settings_values.h"

namespace quellon {

class TSelectDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{564, 431};

    TSelectDlg(const GameData& game, const SettingsValues& settings, QWidget* parent = nullptr);

    // Shows the dialog: the Quellon chosen, nothing when cancelled.
    std::optional<int> chooseQuellon();
    // The Quellon chosen at the last close with Ok.
    int chosenQuellon() const { return chosen_; }

    // The first Quellon of the page the slider shows.
    int firstShown() const;
    QSlider* slider() const { return Scroll; }
    QWidget* pageBox() const { return box; }
    ImageButton* cancelButton() const { return CancelBtn; }

    // The choice by mouse at a point of the page area.
    void boxMouseDown(QPoint point);
    // Draws the page onto a painter whose origin is the page area's corner.
    void paintPage(QPainter& painter) const;
    // The five faces, each a whole number of device pixels square (the
    // strip's height) at the screen's scale.
    static QPixmap faceStrip();

protected:
    void FormActivate() override;
    // The slider has the focus; Escape and N, which it leaves unused, cancel.
    std::optional<DialogResult> resultOfKey(int key) const override;
    std::optional<DialogResult> resultOfClose() const override { return DialogResult::Cancel; }

private:
    void exitClick() { finish(DialogResult::Cancel); }

    const GameData& game_;
    int chosen_ = 0;
    const SettingsValues& settings_;
    TitleColumn titleColumn_;
    TexturedPanel* p7;
    QWidget* box;
    QSlider* Scroll;
    ImageButton* CancelBtn;
};

}  // namespace quellon
