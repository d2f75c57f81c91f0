// The catalogue order. Figures (after the opening) and composed Quellons each
// go easiest first; the figures take fixed positions (the opening, then
// spread evenly), the composed ones the positions between. Waves: the
// composed positions are ranked by a key that rises with the position plus a
// sine, and the k-th easiest composed Quellon goes to the position of the
// k-th smallest key, so each wave climbs a little past the trend and then
// eases back.
//
// The opening is what a new player meets first, so it is easy and varied:
// each of its places takes the easiest figure left that is not tilted, not of
// the family just before it, and not of a family that already has its share
// of the opening (`openingFamilyMost`). Easiest first alone would open with
// letters, several in a row: the family the file holds most of, and the
// plainest to solve. Should the figures run short, the rules give way from
// the last: the share, then the neighbour, then the tilt.
#include "tools/catalogue/ordering.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>

namespace quellon::catalogue {

namespace {

// Indices first..first+n-1 in ascending difficulty, ties in index order.
std::vector<int> easiestFirst(std::span<const double> difficulty, int first)
{
    std::vector<int> order(difficulty.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return difficulty[static_cast<size_t>(a)] < difficulty[static_cast<size_t>(b)];
    });
    for (int& index : order)
        index += first;
    return order;
}

// Figure indices in the order the figures appear: the opening (see the top of
// this file), then the others easiest first.
std::vector<int> figureSequence(std::span<const FigureToOrder> figures, const OrderingRules& rules)
{
    std::vector<double> difficulty;
    for (const FigureToOrder& figure : figures)
        difficulty.push_back(figure.difficulty);
    std::vector<int> left = easiestFirst(difficulty, 0);
    std::vector<int> sequence;
    std::map<int, int> inOpening;
    const int opening = std::min(rules.openingFigures, static_cast<int>(figures.size()));
    while (static_cast<int>(sequence.size()) < opening) {
        const FigureToOrder* before = sequence.empty() ? nullptr : &figures[static_cast<size_t>(sequence.back())];
        // rulesKept 3: all three rules; 2: no share; 1: only the tilt; 0: none.
        auto allowed = [&](int index, int rulesKept) {
            const FigureToOrder& figure = figures[static_cast<size_t>(index)];
            return (rulesKept < 1 || !figure.tilted) && (rulesKept < 2 || !before || figure.family != before->family) &&
                   (rulesKept < 3 || inOpening[figure.family] < rules.openingFamilyMost);
        };
        auto chosen = left.end();
        for (int rulesKept = 3; chosen == left.end(); --rulesKept)
            chosen = std::find_if(left.begin(), left.end(), [&](int index) { return allowed(index, rulesKept); });
        ++inOpening[figures[static_cast<size_t>(*chosen)].family];
        sequence.push_back(*chosen);
        left.erase(chosen);
    }
    sequence.insert(sequence.end(), left.begin(), left.end());
    return sequence;
}

// Marks `count` positions spread evenly over [begin, end).
void spread(std::vector<bool>& marked, int begin, int end, int count)
{
    const long long length = end - begin;
    for (long long i = 0; i < count; ++i)
        marked[static_cast<size_t>(begin + (2 * i + 1) * length / (2 * count))] = true;
}

// Places `items` (easiest first) on `positions` (ascending) in waves.
void fillInWaves(std::vector<int>& order, std::span<const int> positions, std::span<const int> items,
                 const OrderingRules& rules)
{
    const double amplitude = rules.waveDepth * rules.wavePeriod / (2.0 * std::numbers::pi);
    std::vector<std::pair<long long, size_t>> keys;
    for (size_t s = 0; s < positions.size(); ++s) {
        const double key = static_cast<double>(s) +
                           amplitude * std::sin(2.0 * std::numbers::pi * static_cast<double>(s) / rules.wavePeriod);
        // Rounded, so that the order does not hang on the last bit of a sine.
        keys.emplace_back(std::llround(key * 1e6), s);
    }
    std::sort(keys.begin(), keys.end());
    for (size_t rank = 0; rank < keys.size(); ++rank)
        order[static_cast<size_t>(positions[keys[rank].second])] = items[rank];
}

}  // namespace

std::vector<int> arrangeCatalogue(std::span<const FigureToOrder> figures, std::span<const double> composed,
                                  const OrderingRules& rules)
{
    const int figureCount = static_cast<int>(figures.size());
    const int total = figureCount + static_cast<int>(composed.size());
    std::vector<bool> isFigure(static_cast<size_t>(total), false);

    const int opening = std::min(rules.openingFigures, figureCount);
    std::fill_n(isFigure.begin(), opening, true);
    const int rest = figureCount - opening;
    const int richEnd = std::max(opening, std::min(rules.figureRichEnd, total));
    const int tailRoom = total - richEnd;
    const int richShare = std::max(0, richEnd / rules.figureEvery - opening);
    const int inRich = std::min(rest, std::max(richShare, rest - tailRoom));
    spread(isFigure, opening, richEnd, inRich);
    if (rest > inRich)
        spread(isFigure, richEnd, total, rest - inRich);

    std::vector<int> order(static_cast<size_t>(total), -1);
    const std::vector<int> figureOrder = figureSequence(figures, rules);
    const std::vector<int> composedOrder = easiestFirst(composed, figureCount);
    std::vector<int> head, tail;
    const int tailStart = total - static_cast<int>(std::floor(rules.hardestShare * total));
    size_t nextFigure = 0;
    for (int p = 0; p < total; ++p) {
        if (isFigure[static_cast<size_t>(p)])
            order[static_cast<size_t>(p)] = figureOrder[nextFigure++];
        else
            (p < tailStart ? head : tail).push_back(p);
    }
    const std::span<const int> items(composedOrder);
    fillInWaves(order, head, items.first(head.size()), rules);
    fillInWaves(order, tail, items.last(tail.size()), rules);
    return order;
}

}  // namespace quellon::catalogue
