// The player's options: how each option button steps its value, and the
// hints and labels of the options dialog in both languages.
#pragma once

#include <string>

namespace quellon {

constexpr int kOptionLanguageEnglish = 0;
constexpr int kOptionBackgroundCount = 6;
constexpr int kOptionPatternModeCount = 4;  // 0 on the board, 1..3 small, medium, big window

// 1 -> 0, 0 -> 1, and the unset -1 -> 0 (English).
int nextLanguage(int language);
// 0..5, after 5 comes 0. A stored value out of range is brought back into
// range, so the background sheet is never read outside its six rows.
int nextBackground(int background);
// 0..3, after 3 comes 0; out-of-range values are brought back as above.
int nextPatternMode(int patmode);

// The hints and labels of the options dialog for the given values.
struct OptionTexts {
    std::string okHint;
    std::string heading;
    std::string languageHint;
    std::string languageLabel;
    std::string soundHint;
    std::string soundLabel;
    std::string musicHint;
    std::string musicLabel;
    std::string backgroundHint;
    std::string backgroundLabel;
    std::string patternHint;
    std::string patternLabel;
};

struct OptionValues {
    int language = -1;  // not chosen yet
    bool soundOn = true;
    bool musicOn = true;
    bool musicFound = false;
    std::string musicFileName;  // bare file name of the music playing
    int background = 0;
    int patmode = 2;
};

OptionTexts optionTexts(const OptionValues& values);

// The fixed labels of the language dialog.
inline constexpr const char* kGermanChoiceLabel = "Ich spreche deutsch";
inline constexpr const char* kEnglishChoiceLabel = "I speak English";

} // namespace quellon
