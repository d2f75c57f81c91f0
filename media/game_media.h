// What the main window asks of the help and the music: the window's seam to
// the media, handed to it when it is made.
#pragma once

#include <QString>
#include <QWidget>

namespace quellon {

class GameMedia {
public:
    virtual ~GameMedia() = default;
    // Help: a topic by context number (1 German rules, 2 English rules);
    // every help window closed at the end.
    virtual void openHelp(int context, const QWidget& mainWindow) = 0;
    virtual void closeHelp() = 0;
    // Music: started once the set-up is done (it looks for music and plays it
    // while music is on), ticked once a second, stopped at the end.
    virtual void startMusic() = 0;
    virtual void musicTick() = 0;
    virtual void stopMusic() = 0;
    // The music button of the options dialog: the player's switch (whether
    // music is now on), whether a music file was found, and the bare name of
    // the file now chosen.
    virtual bool toggleMusic() = 0;
    virtual bool musicFound() const = 0;
    virtual QString musicFileName() const = 0;
};

}  // namespace quellon
