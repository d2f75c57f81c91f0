// The score a player reads in the statistics dialog: totals, points, the three
// sentences in both languages and the stacked bar of help levels.
#include <gtest/gtest.h>

#include "engine/settings_values.h"
#include "engine/statistics.h"

using namespace quellon;

namespace {

GameData gameWith(int count, std::initializer_list<std::pair<int, uint8_t>> progress = {})
{
    GameData game;
    game.quellonCount = count;
    for (const auto& [n, value] : progress)
        game.progressTable[static_cast<size_t>(n)] = value;
    return game;
}

}  // namespace

TEST(StatisticsTotals, CountOnlyFinishedQuellonsWithinTheCatalogue)
{
    // Help used on an open Quellon (3) earns nothing; a byte beyond N is ignored.
    GameData game = gameWith(10, {{1, 8}, {2, 9}, {3, 10}, {4, 11}, {5, 12}, {6, 3}, {11, 8}});
    const ProgressTotals totals = countProgress(game);
    EXPECT_EQ(totals.finished, 5);
    EXPECT_EQ(totals.levelCount, (std::array<int, 5>{1, 1, 1, 1, 1}));
    EXPECT_EQ(totals.points, 4 + 3 + 2 + 1 + 0);
    EXPECT_EQ(totals.possiblePoints(), 40);
}

TEST(StatisticsTotals, DamagedLevelsCountAsDroppedWithoutNegativePoints)
{
    const ProgressTotals totals = countProgress(gameWith(3, {{1, 8 + 5}, {2, 8 + 7}, {3, 0xFF}}));
    EXPECT_EQ(totals.finished, 3);
    EXPECT_EQ(totals.levelCount[4], 3);
    EXPECT_EQ(totals.points, 0);
}

TEST(StatisticsGauge, PercentRoundsDownAndNeverDividesByZero)
{
    EXPECT_EQ(gaugePercent(0, 0), 0);
    EXPECT_EQ(gaugePercent(5, 0), 0);
    EXPECT_EQ(gaugePercent(1, 950), 0);
    EXPECT_EQ(gaugePercent(949, 950), 99);
    EXPECT_EQ(gaugePercent(3800, 3800), 100);
    EXPECT_EQ(gaugePercent(37, 100), 37);
}

TEST(StatisticsSentences, NothingFinished)
{
    const ProgressTotals totals = countProgress(gameWith(950, {{7, 2}}));
    EXPECT_EQ(finishedSentence(totals, kLanguageGerman), "Bisher wurde noch kein Quellon gelöst !!!");
    EXPECT_EQ(finishedSentence(totals, kLanguageEnglish), "Until now no Quellon was solved !!!");
    EXPECT_EQ(helpSentence(totals, kLanguageGerman),
              "Du hast für kein Quellon keine, für kein Quellon wenig, für kein Quellon etwas mehr "
              "und für kein Quellon viel Hilfe benötigt. Du hast kein Quellon aufgegeben.");
    EXPECT_EQ(helpSentence(totals, kLanguageEnglish),
              "For no Quellon you didn't need any help. For no Quellon you needed little, for no Quellon some more "
              "and for no Quellon much help. You dropped no Quellon.");
    EXPECT_EQ(pointsSentence(totals, kLanguageGerman), "Du hast bisher leider keine Punkte erreicht.");
    EXPECT_EQ(pointsSentence(totals, kLanguageEnglish), "Sorry, until now you've reached no points.");
    EXPECT_TRUE(barSegments(totals).empty());
}

TEST(StatisticsSentences, OneSolvedWithoutHelpOutOf950)
{
    const ProgressTotals totals = countProgress(gameWith(950, {{17, 8}}));
    EXPECT_EQ(finishedSentence(totals, kLanguageGerman), "Bisher wurde eines von insgesamt 950 Quellons gelöst.");
    EXPECT_EQ(finishedSentence(totals, kLanguageEnglish), "Until now one out of total 950 Quellons was solved.");
    EXPECT_EQ(pointsSentence(totals, kLanguageGerman), "Du hast bisher 4 von 3800 möglichen Punkten erreicht.");
    EXPECT_EQ(pointsSentence(totals, kLanguageEnglish), "Until now you've reached 4 out of 3800 possible points.");
    // One green segment wider than the area: the whole visible bar.
    EXPECT_EQ(barSegments(totals), (std::vector<BarSegment>{{0, 0, 411}}));
}

TEST(StatisticsSentences, CountsOfOneAndMoreWithTheOddWords)
{
    // 2 without help, 1 little, 3 more, 1 much, 2 dropped.
    const ProgressTotals totals =
        countProgress(gameWith(20, {{1, 8}, {2, 8}, {3, 9}, {4, 10}, {5, 10}, {6, 10}, {7, 11}, {8, 12}, {9, 12}}));
    EXPECT_EQ(finishedSentence(totals, kLanguageGerman), "Bisher wurden 9 von insgesamt 20 Quellons gelöst.");
    EXPECT_EQ(finishedSentence(totals, kLanguageEnglish), "Until now 9 out of total 20 Quellons were solved.");
    EXPECT_EQ(helpSentence(totals, kLanguageGerman),
              "Du hast für 2 Quellons keine, für ein Quellon wenig, für 3 Quellons etwas mehr "
              "und für ein Quellon viel Hilfe benötigt. Du hast 2 Quellons aufgegeben.");
    EXPECT_EQ(helpSentence(totals, kLanguageEnglish),
              "For 2 Quellons you didn't need any help. For one Quellon you needed little, for 3 Quellons some more "
              "and für one Quellon much help. You dropped 2 Quellons.");
    EXPECT_EQ(pointsSentence(totals, kLanguageEnglish), "Until now you've reached 18 out of 80 possible points.");
}

TEST(StatisticsSentences, OneDroppedAndManyHelpedWordings)
{
    const ProgressTotals totals = countProgress(gameWith(5, {{1, 11}, {2, 11}, {3, 12}}));
    EXPECT_NE(helpSentence(totals, kLanguageGerman)
                  .find("und für 2 Quellons viel Hilfe benötigt. Ein Quellon hast Du aufgegeben."),
              std::string::npos);
    EXPECT_NE(helpSentence(totals, kLanguageEnglish).find("and for 2 Quellons much help. You dropped one Quellon."),
              std::string::npos);
}

TEST(StatisticsSentences, EverythingFinished)
{
    GameData allSolved = gameWith(3, {{1, 8}, {2, 8}, {3, 8}});
    ProgressTotals totals = countProgress(allSolved);
    EXPECT_EQ(pointsSentence(totals, kLanguageGerman), "Hurra, Du hast alle möglichen Punkte erreicht.");
    EXPECT_EQ(pointsSentence(totals, kLanguageEnglish), "Hurrah, you reached all possible points.");
    EXPECT_EQ(gaugePercent(totals.points, totals.possiblePoints()), 100);

    totals = countProgress(gameWith(3, {{1, 12}, {2, 12}, {3, 12}}));
    EXPECT_EQ(pointsSentence(totals, kLanguageGerman), "Du hast leider keinen einzigen Punkt erreicht.");
    EXPECT_EQ(pointsSentence(totals, kLanguageEnglish), "Sorry, you reached no points.");
    // Dropped Quellons count among the solved ones.
    EXPECT_EQ(finishedSentence(totals, kLanguageEnglish), "Until now 3 out of total 3 Quellons were solved.");

    totals = countProgress(gameWith(3, {{1, 8}, {2, 9}, {3, 12}}));
    EXPECT_EQ(pointsSentence(totals, kLanguageGerman), "Du hast 7 von 12 möglichen Punkten erreicht.");
    EXPECT_EQ(pointsSentence(totals, kLanguageEnglish), "You reached 7 out of 12 possible points.");
}

TEST(StatisticsSentences, EmptyCatalogueNeedsNoDivision)
{
    const ProgressTotals totals = countProgress(gameWith(0));
    EXPECT_EQ(totals.possiblePoints(), 0);
    EXPECT_EQ(gaugePercent(totals.finished, totals.quellonCount), 0);
    EXPECT_TRUE(barSegments(totals).empty());
    EXPECT_FALSE(pointsSentence(totals, kLanguageEnglish).empty());
}

TEST(StatisticsBar, SegmentsOverlapByOneAndTheLastEndsAt410)
{
    // Four finished: scale 102.5; 2 x 102.5 = 205, 1 x 102.5 rounds to the even 102.
    const ProgressTotals totals = countProgress(gameWith(10, {{1, 8}, {2, 8}, {3, 10}, {4, 12}}));
    const std::vector<BarSegment> segments = barSegments(totals);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0], (BarSegment{0, 0, 206}));
    // Levels 1 (empty) still advance the start by one pixel.
    EXPECT_EQ(segments[1], (BarSegment{2, 207, 310}));
    EXPECT_EQ(segments[2], (BarSegment{4, 311, 410}));
}

TEST(StatisticsBar, HalvesRoundToEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(102.5), 102);
    EXPECT_EQ(roundHalfEven(136.66), 137);
    EXPECT_EQ(roundHalfEven(136.4), 136);
}
