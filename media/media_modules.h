// The sound effects (SDL's audio output) and the help window (Qt Help) live in two
// modules beside the program, modules/quellon-sounds.so and quellon-help.so, loaded
// the first time they are needed: linked into the program, their libraries
// alone took a third of its start-up and much of its memory. A module that
// cannot be loaded leaves the game silent, or without its rules.
#pragma once

#include <memory>

#include <QString>

class QWidget;

#include "session/sound.h"

namespace quellon {

// What the game asks of its help: a page by context number (1 German rules,
// 2 English rules), and every help window closed at the end.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void openHelp(int context) = 0;
    virtual void closeHelp() = 0;
};

// The entry points each module exports.
using MakeSoundEffects = SoundEffects* (*)(bool soundOn);
using MakeHelp = HelpService* (*)(const QString* programDir, const QString* programTitle, const QWidget* mainWindow);
inline constexpr char kMakeSoundEffects[] = "quellonMakeSoundEffects";
inline constexpr char kMakeHelp[] = "quellonMakeHelp";

// soundOn is the player's "sound" switch as it stands now; later changes are
// pushed with setSoundsEnabled. Null when the module is missing.
std::unique_ptr<SoundEffects> loadSoundEffects(const QString& programDir, bool soundOn);
// Null when the module is missing.
// The help window opens by `mainWindow`.
std::unique_ptr<HelpService> loadHelp(const QString& programDir, const QString& programTitle,
                                      const QWidget* mainWindow = nullptr);

}  // namespace quellon
