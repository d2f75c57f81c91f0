// The main window's tool bar `ToolPanel`: thirteen image buttons on the
// tool-bar tile of the current background, the last four kept at the right
// edge. The window connects the buttons to its commands.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "engine/settings_values.h"

namespace quellon {

class ImageButton;

// Tile of a background's sheet: the window tile or the tool-bar tile.
QPixmap backgroundTile(int background, bool toolBar);

class ToolBar : public QWidget {
public:
    // Its tile follows the background of `settings`.
    ToolBar(QWidget* parent, const SettingsValues& settings);

    // Spans `width` pixels at the top of the window.
    void layOut(int width, int height);
    // The buttons' hints in the language chosen.
    void applyHints(bool german);
    // The tile behind the buttons, after a change of background.
    void repaintTiles();

    ImageButton* NewGameBtn;
    ImageButton* LoadBtn;
    ImageButton* StatBtn;
    ImageButton* TipBtn;
    ImageButton* SelectBtn;
    ImageButton* UpBtn;
    ImageButton* DnBtn;
    ImageButton* UnsolvedUpBtn;
    ImageButton* UnsolvedDnBtn;
    ImageButton* OptionBtn;
    ImageButton* InfoBtn;
    ImageButton* RulesBtn;
    ImageButton* ExitBtn;

private:
    ImageButton* makeButton(const QString& name, const QString& face, QPoint place, QSize size, bool hasDisabledFace);

    QWidget* ToolBox;
};

}  // namespace quellon
