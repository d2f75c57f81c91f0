// Summaries of the quality measures and of the difficulty.
#include "tools/catalogue/statistics.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "engine/silhouette.h"
#include "tools/catalogue/difficulty.h"
#include "tools/catalogue/figure_quality.h"
#include "tools/catalogue/solver.h"

namespace quellon::catalogue {

namespace {

std::string fixed(double value, int decimals = 2)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string spread(std::vector<double> values, int decimals = 2)
{
    if (values.empty())
        return "-";
    std::sort(values.begin(), values.end());
    auto at = [&](double share) { return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))]; };
    return "min " + fixed(values.front(), decimals) + ", 10% " + fixed(at(0.1), decimals) + ", median " +
           fixed(at(0.5), decimals) + ", 90% " + fixed(at(0.9), decimals) + ", max " + fixed(values.back(), decimals);
}

}  // namespace

std::string describeQuellon(const PuzzleRecord& record)
{
    const FigureQuality q = measureFigure(figureOf(record));
    std::ostringstream out;
    out << "pieces (x, y, orientation):";
    for (const PieceState& piece : record.pieces)
        out << " (" << int(piece.x) << ", " << int(piece.y) << ", " << int(piece.orientation) << ")";
    const SolvingEffort effort = measureEffort(record);
    const DifficultyParts parts = difficultyParts(effort, record);
    out << "\n"
        << (effort.capped ? "at least " : "") << effort.layouts << " layouts, " << effort.deadEnds << " dead ends from "
        << effort.starts << " starts, difficulty " << fixed(difficultyOf(effort, record)) << " (search "
        << fixed(parts.search) << ", ways " << fixed(parts.ways) << ", choice " << fixed(parts.choice) << ", tilt "
        << fixed(parts.tilt) << ")";
    out << "\n"
        << parityName(q.parity) << " orientations, hull ratio " << fixed(q.hullRatio) << ", roundness "
        << fixed(q.roundness) << ", free tips " << q.freeTips << ", least contact " << fixed(q.minContact, 1)
        << ", hidden edges " << fixed(100.0 * q.hiddenShare, 0) << "%, largest hole " << fixed(q.largestHole)
        << " cells, inlets " << q.inletCells << " cells, " << q.width << " x " << q.height << " cells\n";
    return out.str();
}

std::string catalogueStatistics(const std::vector<PuzzleRecord>& records, const std::vector<PuzzleRecord>& figures)
{
    std::set<std::string> figureKeys;
    for (const PuzzleRecord& figure : figures)
        figureKeys.insert(silhouetteKey(figureOf(figure)));
    std::vector<bool> isFigure, isOdd;
    std::map<Parity, int> parity;
    std::map<int, int> tips;
    std::vector<double> inlets, roundness;
    std::vector<double> hull, contact, difficulty, hidden, width, height;
    std::map<std::string, int> misses;
    for (const PuzzleRecord& record : records) {
        const FigureQuality q = measureFigure(figureOf(record));
        ++parity[q.parity];
        ++tips[q.freeTips];
        hull.push_back(q.hullRatio);
        inlets.push_back(q.inletCells);
        roundness.push_back(q.roundness);
        contact.push_back(q.minContact);
        difficulty.push_back(difficultyOf(record));
        isFigure.push_back(figureKeys.count(silhouetteKey(figureOf(record))) > 0);
        isOdd.push_back(q.parity != Parity::Even);
        hidden.push_back(100.0 * q.hiddenShare);
        width.push_back(q.width);
        height.push_back(q.height);
        if (const std::string failure = qualityFailure(q); !failure.empty())
            ++misses[failure];
    }
    std::ostringstream out;
    const double total = static_cast<double>(records.size());
    out << records.size() << " Quellons: " << parity[Parity::Even] << " even ("
        << fixed(100.0 * parity[Parity::Even] / total, 0) << "%), " << parity[Parity::Odd] << " odd ("
        << fixed(100.0 * parity[Parity::Odd] / total, 0) << "%), " << parity[Parity::Mixed] << " mixed\n";
    out << "hull ratio:      " << spread(hull) << "\n";
    out << "roundness:       " << spread(roundness) << "\n";
    out << "inlet cells:     " << spread(inlets, 0) << "\n";
    out << "least contact:   " << spread(contact, 1) << "\n";
    out << "hidden edges %:  " << spread(hidden, 0) << "\n";
    out << "difficulty:      " << spread(difficulty) << "\n";
    out << "width (cells):   " << spread(width, 0) << "\n";
    out << "height (cells):  " << spread(height, 0) << "\n";
    out << "free tips:      ";
    for (const auto& [count, quellons] : tips)
        out << " " << count << ": " << quellons;
    out << "\n";
    out << "difficulty by tenth of the catalogue (mean, least, most; tilted; figures):\n";
    for (int tenth = 0; tenth < 10; ++tenth) {
        const size_t begin = records.size() * static_cast<size_t>(tenth) / 10;
        const size_t end = records.size() * static_cast<size_t>(tenth + 1) / 10;
        if (begin == end)
            continue;
        double sum = 0.0, least = difficulty[begin], most = difficulty[begin];
        int tilted = 0, figured = 0;
        for (size_t k = begin; k < end; ++k) {
            sum += difficulty[k];
            least = std::min(least, difficulty[k]);
            most = std::max(most, difficulty[k]);
            tilted += isOdd[k];
            figured += isFigure[k];
        }
        char line[160];
        std::snprintf(line, sizeof line, "  %4zu..%-4zu %5.2f  %5.2f  %5.2f  %3d tilted  %3d figures\n", begin + 1, end,
                      sum / static_cast<double>(end - begin), least, most, tilted, figured);
        out << line;
    }
    out << "missing a criterion:";
    if (misses.empty())
        out << " none";
    for (const auto& [reason, count] : misses)
        out << " " << reason << " " << count;
    out << "\n";
    return out.str();
}

}  // namespace quellon::catalogue
