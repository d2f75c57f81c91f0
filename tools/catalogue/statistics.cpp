// Summaries of the quality measures.
#include "tools/catalogue/statistics.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "engine/silhouette.h"
#include "tools/catalogue/figure_quality.h"

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
    return "min " + fixed(values.front(), decimals) + ", 10% " + fixed(at(0.1), decimals) + ", median "
           + fixed(at(0.5), decimals) + ", 90% " + fixed(at(0.9), decimals) + ", max " + fixed(values.back(), decimals);
}

} // namespace

std::string describeQuellon(const PuzzleRecord& record)
{
    const FigureQuality q = measureFigure(figureOf(record));
    std::ostringstream out;
    out << "pieces (x, y, orientation):";
    for (const PieceState& piece : record.pieces)
        out << " (" << int(piece.x) << ", " << int(piece.y) << ", " << int(piece.orientation) << ")";
    out << "\n" << parityName(q.parity) << " orientations, difficulty " << fixed(q.difficulty) << ", hull ratio "
        << fixed(q.hullRatio) << ", roundness " << fixed(q.roundness) << ", free tips " << q.freeTips << ", least contact " << fixed(q.minContact, 1)
        << ", hidden edges " << fixed(100.0 * q.hiddenShare, 0) << "%, largest hole " << fixed(q.largestHole)
        << " cells, inlets " << q.inletCells << " cells, " << q.width << " x " << q.height << " cells\n";
    return out.str();
}

std::string catalogueStatistics(const std::vector<PuzzleRecord>& records)
{
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
        difficulty.push_back(q.difficulty);
        hidden.push_back(100.0 * q.hiddenShare);
        width.push_back(q.width);
        height.push_back(q.height);
        if (const std::string failure = qualityFailure(q); !failure.empty())
            ++misses[failure];
    }
    std::ostringstream out;
    const double total = static_cast<double>(records.size());
    out << records.size() << " Quellons: " << parity[Parity::Even] << " even (" << fixed(100.0 * parity[Parity::Even] / total, 0)
        << "%), " << parity[Parity::Odd] << " odd (" << fixed(100.0 * parity[Parity::Odd] / total, 0) << "%), "
        << parity[Parity::Mixed] << " mixed\n";
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
    out << "missing a criterion:";
    if (misses.empty())
        out << " none";
    for (const auto& [reason, count] : misses)
        out << " " << reason << " " << count;
    out << "\n";
    return out.str();
}

} // namespace quellon::catalogue
