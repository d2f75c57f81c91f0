// The main window's tool bar `ToolPanel`: the image buttons of the rows in
// play/tool_buttons.h on the tool-bar tile of the current background, those
// placed from the right edge kept there. The window connects the buttons to
// its commands.
#pragma once

#include <vector>

#include <QPixmap>
#include <QWidget>

#include "engine/settings_values.h"

namespace quellon {

class ImageButton;
class TMainform;

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

    // The button of the row with this command.
    ImageButton* button(void (TMainform::*command)()) const;

private:
    QWidget* ToolBox;
    std::vector<ImageButton*> buttons_;  // one for each row, in the rows' order
};

}  // namespace quellon
