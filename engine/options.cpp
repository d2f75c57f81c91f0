#include "engine/options.h"

#include "engine/messages.h"

namespace quellon {

namespace {

int wrap(int value, int count) { return ((value % count) + count) % count; }

const char* patternLabel(int patmode, bool german)
{
    switch (patmode) {
    case 0:
        return german ? "Vorlage in der Spielfl\u00e4che" : "Pattern in the game area";
    case 1:
        return german ? "Kleines Vorlagenfenster" : "Small pattern window";
    case 2:
        return german ? "Mittleres Vorlagenfenster" : "Medium pattern window";
    default:
        return german ? "Gro\u00dfes Vorlagenfenster" : "Big pattern window";
    }
}

}  // namespace

int nextLanguage(int language)
{
    // A remainder with the sign of the dividend: -1 + 1 gives 0, English.
    const int next = (language + 1) % 2;
    return next < 0 ? kLanguageEnglish : next;
}

int nextBackground(int background) { return wrap(wrap(background, kBackgroundCount) + 1, kBackgroundCount); }

int nextPatternMode(int patmode) { return wrap(wrap(patmode, kPatternModeCount) + 1, kPatternModeCount); }

OptionTexts optionTexts(const SettingsValues& values, bool musicFound, const std::string& musicFileName)
{
    const bool de = values.language == kLanguageGerman;
    OptionTexts texts;
    texts.okHint = de ? "Zur\u00fcck zum Spiel" : "Back to game";
    texts.heading = de ? "Einstellungen:" : "Options:";
    texts.languageHint = de ? "Sprache \u00e4ndern" : "Change language";
    texts.languageLabel = de ? "Ich spreche deutsch." : "I speak English.";
    texts.soundHint = de ? "Ger\u00e4usche ein- und ausschalten." : "Sound on or off";
    if (values.soundOn)
        texts.soundLabel = de ? "Ger\u00e4usche sind an." : "Sound is on.";
    else
        texts.soundLabel = de ? "Ger\u00e4usche sind aus." : "Sound is off.";
    texts.musicHint = de ? "Musik ein- und ausschalten." : "Music on or off.";
    // Without a music file the label says so, whatever the music setting holds.
    if (!musicFound)
        texts.musicLabel = de ? "Keine Musikdateien vorhanden." : "No music files available.";
    else if (values.musicOn)
        texts.musicLabel = (de ? "Musik: " : "Music: ") + musicFileName;
    else
        texts.musicLabel = de ? "Musik ist aus." : "Music is off.";
    texts.backgroundHint = de ? "Hintergrund \u00e4ndern" : "Change background";
    texts.backgroundLabel = (de ? "Hintergrund " : "Background ") + std::to_string(values.background + 1);
    texts.patternHint = de ? "Wo befindet sich die Vorlage?" : "Where is the pattern?";
    texts.patternLabel = patternLabel(values.patmode, de);
    return texts;
}

}  // namespace quellon
