#include "engine/statistics.h"

#include <cmath>

namespace quellon {

namespace {

bool german(int language) { return language == kLanguageGerman; }

// A level's piece of the help sentence for c = 0, c = 1 and c > 1; the count
// goes between `before` and `after` in the last case.
struct CountedPiece {
    const char* none;
    const char* one;
    const char* before;
    const char* after;

    std::string text(int count) const
    {
        if (count == 0)
            return none;
        if (count == 1)
            return one;
        return before + std::to_string(count) + after;
    }
};

// The "für" in the English piece of level 3 is the game's own wording,
// kept as players know it.
constexpr std::array<CountedPiece, kLevelCount> kGermanPieces{{
    {"kein Quellon keine, ", "ein Quellon keine, ", "", " Quellons keine, "},
    {"f\u00fcr kein Quellon wenig, ", "f\u00fcr ein Quellon wenig, ", "f\u00fcr ", " Quellons wenig, "},
    {"f\u00fcr kein Quellon etwas mehr ", "f\u00fcr ein Quellon etwas mehr ", "f\u00fcr ", " Quellons etwas mehr "},
    {"und f\u00fcr kein Quellon viel", "und f\u00fcr ein Quellon viel", "und f\u00fcr ", " Quellons viel"},
    {"Du hast kein Quellon aufgegeben.", "Ein Quellon hast Du aufgegeben.", "Du hast ", " Quellons aufgegeben."},
}};

constexpr std::array<CountedPiece, kLevelCount> kEnglishPieces{{
    {"For no Quellon you didn't need any help. ", "For one Quellon you didn't need any help. ", "For ",
     " Quellons you didn't need any help. "},
    {"For no Quellon you needed little, ", "For one Quellon you needed little, ", "For ",
     " Quellons you needed little, "},
    {"for no Quellon some more ", "for one Quellon some more ", "for ", " Quellons some more "},
    {"and for no Quellon much help. ", "and f\u00fcr one Quellon much help. ", "and for ", " Quellons much help. "},
    {"You dropped no Quellon.", "You dropped one Quellon.", "You dropped ", " Quellons."},
}};

constexpr std::array<unsigned, kLevelCount> kLevelColours{0x00FF00, 0xA0FC00, 0xE4FC00, 0xE1E400, 0xFFC100};

}  // namespace

ProgressTotals countProgress(const GameData& game)
{
    ProgressTotals totals;
    totals.quellonCount = game.quellonCount;
    for (int n = 1; n <= game.quellonCount && n <= kMaxQuellons; ++n) {
        const uint8_t progress = game.progressTable[static_cast<size_t>(n)];
        if (!isFinished(progress))
            continue;
        const int level = helpLevel(progress);  // 0..4 for a finished byte
        ++totals.finished;
        ++totals.levelCount[static_cast<size_t>(level)];
        totals.points += kPointsPerQuellon - level;
    }
    return totals;
}

int gaugePercent(int progress, int maximum)
{
    if (maximum <= 0)
        return 0;
    return static_cast<int>(100LL * progress / maximum);
}

std::string finishedSentence(const ProgressTotals& totals, int language)
{
    const std::string n = std::to_string(totals.quellonCount);
    const int f = totals.finished;
    if (german(language)) {
        if (f == 0)
            return "Bisher wurde noch kein Quellon gel\u00f6st !!!";
        if (f == 1)
            return "Bisher wurde eines von insgesamt " + n + " Quellons gel\u00f6st.";
        return "Bisher wurden " + std::to_string(f) + " von insgesamt " + n + " Quellons gel\u00f6st.";
    }
    if (f == 0)
        return "Until now no Quellon was solved !!!";
    if (f == 1)
        return "Until now one out of total " + n + " Quellons was solved.";
    return "Until now " + std::to_string(f) + " out of total " + n + " Quellons were solved.";
}

std::string helpSentence(const ProgressTotals& totals, int language)
{
    const auto& pieces = german(language) ? kGermanPieces : kEnglishPieces;
    std::string sentence = german(language) ? "Du hast f\u00fcr " : "";
    for (size_t level = 0; level < kLevelCount; ++level) {
        if (german(language) && level == kDroppedLevel)
            sentence += " Hilfe ben\u00f6tigt. ";
        sentence += pieces[level].text(totals.levelCount[level]);
    }
    return sentence;
}

std::string pointsSentence(const ProgressTotals& totals, int language)
{
    const int p = totals.points;
    const int m = totals.possiblePoints();
    const std::string ps = std::to_string(p);
    const std::string ms = std::to_string(m);
    const bool de = german(language);
    if (totals.finished < totals.quellonCount) {
        if (p == 0)
            return de ? "Du hast bisher leider keine Punkte erreicht." : "Sorry, until now you've reached no points.";
        return de ? "Du hast bisher " + ps + " von " + ms + " m\u00f6glichen Punkten erreicht."
                  : "Until now you've reached " + ps + " out of " + ms + " possible points.";
    }
    if (p == m)
        return de ? "Hurra, Du hast alle m\u00f6glichen Punkte erreicht." : "Hurrah, you reached all possible points.";
    if (p == 0)
        return de ? "Du hast leider keinen einzigen Punkt erreicht." : "Sorry, you reached no points.";
    return de ? "Du hast " + ps + " von " + ms + " m\u00f6glichen Punkten erreicht."
              : "You reached " + ps + " out of " + ms + " possible points.";
}

std::vector<BarSegment> barSegments(const ProgressTotals& totals)
{
    std::vector<BarSegment> segments;
    if (totals.finished <= 0)
        return segments;
    const double scale = static_cast<double>(kStatBarLayoutWidth) / totals.finished;
    int start = 0;
    for (int level = 0; level < kLevelCount; ++level) {
        const int count = totals.levelCount[static_cast<size_t>(level)];
        // Every segment but the last reaches one pixel past its share; the
        // last always ends at the layout's right edge.
        const int end = level < kLevelCount - 1 ? roundHalfEven(count * scale) + start + 1 : kStatBarLayoutWidth;
        if (count > 0)
            segments.push_back({level, start, end});  // filled up to end + 1, exclusive
        start = end;
    }
    return segments;
}

unsigned levelColour(int level)
{
    if (level < 0 || level >= kLevelCount)
        return 0;
    return kLevelColours[static_cast<size_t>(level)];
}

}  // namespace quellon
