// The catalogue order. Figures (after the opening) and composed Quellons each
// go easiest first; the figures take fixed positions (the opening, then
// spread evenly), the composed ones the positions between. Waves: the
// composed positions are ranked by a key that rises with the position plus a
// sine, and the k-th easiest composed Quellon goes to the position of the
// k-th smallest key, so each wave climbs a little past the trend and then
// eases back.
//
// The opening is what a new player meets first, so it is easy, varied and
// reads at once: each of its places takes the easiest figure left that every
// namer named (`opening`), is not tilted, not of the family just before it,
// and not of a family that already has its share of the opening
// (`openingFamilyMost`, raised as far as needed when a few families hold most
// of the figures that fit). A figure that only most namers named can wait. Easiest first alone would open with
// letters, several in a row: the family the file holds most of, and the
// plainest to solve. Should the figures run short, the rules give way from
// the last: the share, then the neighbour, then the tilt, then the naming.
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

// How many of the opening's places one family may take: `most`, or as few
// more as let the figures that fit the opening (named by all, not tilted)
// fill it. Dropping the share altogether when a few families hold most of
// those figures would leave the last places to one family, in a row.
int openingShare(std::span<const FigureToOrder> figures, int opening, int most)
{
    std::map<int, int> fitting;
    for (const FigureToOrder& figure : figures)
        if (figure.opening && !figure.tilted)
            ++fitting[figure.family];
    for (int share = most;; ++share) {
        int places = 0;
        for (const auto& [family, count] : fitting)
            places += std::min(count, share);
        if (places >= opening || share >= opening)
            return share;
    }
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
    const int familyMost = openingShare(figures, opening, rules.openingFamilyMost);
    while (static_cast<int>(sequence.size()) < opening) {
        const FigureToOrder* before = sequence.empty() ? nullptr : &figures[static_cast<size_t>(sequence.back())];
        // rulesKept 4: all four rules; 3: no share; 2: no neighbour; 1: only
        // the naming; 0: none.
        auto allowed = [&](int index, int rulesKept) {
            const FigureToOrder& figure = figures[static_cast<size_t>(index)];
            return (rulesKept < 1 || figure.opening) && (rulesKept < 2 || !figure.tilted) &&
                   (rulesKept < 3 || !before || figure.family != before->family) &&
                   (rulesKept < 4 || inOpening[figure.family] < familyMost);
        };
        auto chosen = left.end();
        for (int rulesKept = 4; chosen == left.end(); --rulesKept)
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

// `amount` shared out in proportion to `weights` (largest remainders first,
// ties to the earlier), so that the parts add up to `amount`.
std::vector<int> apportion(std::span<const double> weights, int amount)
{
    const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<int> parts(weights.size(), 0);
    if (sum <= 0.0 || amount <= 0)
        return parts;
    std::vector<std::pair<double, size_t>> remainders;
    int given = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        const double exact = amount * weights[i] / sum;
        parts[i] = static_cast<int>(std::floor(exact));
        given += parts[i];
        remainders.emplace_back(-(exact - parts[i]), i);
    }
    std::sort(remainders.begin(), remainders.end());
    for (size_t k = 0; given < amount; ++k, ++given)
        ++parts[remainders[k % remainders.size()].second];
    return parts;
}

// Marks the places of the figures after the opening, range by range (see
// `OrderingRules::figureRanges`); figures left over past the last range are
// spread evenly over the rest.
void markFigurePlaces(std::vector<bool>& isFigure, int opening, int rest, const OrderingRules& rules)
{
    const int total = static_cast<int>(isFigure.size());
    std::vector<std::pair<int, int>> spans;  // free places [begin, end) per range
    std::vector<double> wanted, room;
    int begin = 0;
    for (const FigureRange& range : rules.figureRanges) {
        const int end = std::min(range.end, total);
        if (end <= begin)
            continue;
        const int freeBegin = std::max(begin, opening);
        const int free = std::max(0, end - freeBegin);
        const int openingHere = std::max(0, std::min(end, opening) - begin);
        const int target = static_cast<int>(std::ceil(range.share * (end - begin) - 1e-9));
        spans.emplace_back(freeBegin, std::max(freeBegin, end));
        wanted.push_back(std::clamp(target - openingHere, 0, free));
        room.push_back(free);
        begin = end;
    }
    const int afterRanges = std::max(0, total - std::max(begin, opening));
    const double allWanted = std::accumulate(wanted.begin(), wanted.end(), 0.0);
    std::vector<int> counts;
    int pastRanges = 0;
    if (rest <= allWanted) {
        counts = apportion(wanted, rest);
    } else {
        // Every range has what it wants; the extra ones go where there is
        // room left, the places after the last range counting as one more.
        std::vector<double> left;
        for (size_t i = 0; i < wanted.size(); ++i)
            left.push_back(room[i] - wanted[i]);
        left.push_back(afterRanges);
        counts = apportion(left, rest - static_cast<int>(allWanted));
        pastRanges = counts.back();
        counts.pop_back();
        for (size_t i = 0; i < wanted.size(); ++i)
            counts[i] += static_cast<int>(wanted[i]);
    }
    for (size_t i = 0; i < spans.size(); ++i)
        if (counts[i] > 0)
            spread(isFigure, spans[i].first, spans[i].second, counts[i]);
    if (pastRanges > 0)
        spread(isFigure, total - afterRanges, total, pastRanges);
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
    markFigurePlaces(isFigure, opening, figureCount - opening, rules);

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
