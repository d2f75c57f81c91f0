// The player's options: how each option button steps its value, and the
// hints and labels of the options dialog in both languages.
#pragma once

#include <string>

#include "engine/settings_values.h"

namespace quellon {

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

// `musicFound`: a music file was found; `musicFileName`: the bare name of
// the one playing.
OptionTexts optionTexts(const SettingsValues& values, bool musicFound, const std::string& musicFileName);

// The fixed labels of the language dialog.
inline constexpr const char* kGermanChoiceLabel = "Ich spreche deutsch";
inline constexpr const char* kEnglishChoiceLabel = "I speak English";

}  // namespace quellon
