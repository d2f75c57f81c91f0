// Option buttons: how each steps its value and what the labels then say.
#include <gtest/gtest.h>

#include "engine/options.h"

using namespace quellon;

TEST(OptionCycling, LanguageTogglesAndUnsetBecomesEnglish)
{
    EXPECT_EQ(nextLanguage(-1), 0);
    EXPECT_EQ(nextLanguage(0), 1);
    EXPECT_EQ(nextLanguage(1), 0);
    EXPECT_EQ(nextLanguage(nextLanguage(1)), 1);
    EXPECT_EQ(nextLanguage(-4), 0);  // never back to "not chosen"
}

TEST(OptionCycling, BackgroundRunsThroughSixAndWraps)
{
    int background = 0;
    std::vector<int> seen;
    for (int press = 0; press < 6; ++press) {
        background = nextBackground(background);
        seen.push_back(background);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(nextBackground(9), 4);
    EXPECT_EQ(nextBackground(-3), 4);
}

TEST(OptionCycling, PatternModeWrapsAfterThree)
{
    EXPECT_EQ(nextPatternMode(3), 0);
    EXPECT_EQ(nextPatternMode(0), 1);
    EXPECT_EQ(nextPatternMode(1), 2);
    EXPECT_EQ(nextPatternMode(2), 3);
    EXPECT_EQ(nextPatternMode(-1), 0);
}

TEST(OptionTexts, NoMusicFileWinsOverTheMusicSetting)
{
    SettingsValues values;
    values.musicOn = true;
    values.language = 1;
    EXPECT_EQ(optionTexts(values, false, "a.mid").musicLabel, "Keine Musikdateien vorhanden.");
    values.language = 0;
    EXPECT_EQ(optionTexts(values, false, "a.mid").musicLabel, "No music files available.");
}
