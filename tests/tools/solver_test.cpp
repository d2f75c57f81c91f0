// The solver finds every layout and nothing else: on small figures it agrees
// with an exhaustive search written without its shortcuts; on whole Quellons
// its layouts pass the game's solve check, differ as sets, and include the
// record's own; and a capped search says so. The catalogue order keeps its
// promises for any difficulties.
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <numeric>
#include <random>
#include <set>
#include <tuple>

#include "engine/board.h"
#include "engine/orientation_table.h"
#include "tools/catalogue/difficulty.h"
#include "tools/catalogue/generator.h"
#include "tools/catalogue/ordering.h"
#include "tools/catalogue/solver.h"

namespace quellon::catalogue {
namespace {

using Layout = std::vector<PieceState>;

bool byPosition(const PieceState& a, const PieceState& b)
{
    return std::tie(a.x, a.y, a.orientation) < std::tie(b.x, b.y, b.orientation);
}

struct LayoutLess {
    bool operator()(const Layout& a, const Layout& b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byPosition);
    }
};
using Layouts = std::set<Layout, LayoutLess>;

std::vector<PuzzleRecord> composedQuellons(int count, uint32_t seed)
{
    GeneratorOptions options;
    options.count = count;
    options.seed = seed;
    GeneratorReport report;
    return generateCatalogue(options, report);
}

// True when some order of laying the pieces passes the fit test each time.
bool layableInSomeOrder(Layout layout)
{
    std::sort(layout.begin(), layout.end(), byPosition);
    do {
        Board board;
        bool fits = true;
        for (size_t n = 0; n < layout.size() && fits; ++n) {
            board.piece(static_cast<int>(n) + 1) = layout[n];
            fits = board.fitsBoard(layout[n].x, layout[n].y, layout[n].orientation);
            board.stampPiece(static_cast<int>(n) + 1);
        }
        if (fits)
            return true;
    } while (std::next_permutation(layout.begin(), layout.end(), byPosition));
    return false;
}

// Every set of `pieces.size()` placements (at most three, so that no cell sum
// can wrap around 256) whose codes add up to exactly the figure's, laid in
// some order that passes the fit test. Sums are compared as plain integers:
// with every cell at most the figure's value and the same total, every cell
// is equal. The one shortcut: a placement or a pair that puts more into a
// cell than the figure has there belongs to no layout.
Layouts layoutsByExhaustiveSearch(const std::vector<PieceState>& pieces)
{
    Grid target{};
    for (const PieceState& piece : pieces)
        addPieceCodes(target, piece, +1);
    int targetSum = 0;
    for (uint8_t value : target)
        targetSum += value;

    struct Placement {
        PieceState place;
        std::vector<std::pair<int, int>> cells;  // grid index, code
        int sum = 0;
    };
    std::vector<Placement> placements;
    const Board probe;
    for (int o = 0; o < kOrientationCount; ++o)
        for (int x = 0; x < kBoardColumns; ++x)
            for (int y = 0; y < kBoardRows; ++y) {
                if (!probe.inBounds(x, y, o))
                    continue;
                Placement placement{{uint8_t(x), uint8_t(y), uint8_t(o)}, {}, 0};
                bool inside = true;
                for (int i = -7; i < 7 && inside; ++i)
                    for (int j = -7; j < 7 && inside; ++j) {
                        const int code = cellCode(o, i, j);
                        if (code == 0)
                            continue;
                        const int cell = gridIndex(x + i, y + j);
                        inside = code <= target[static_cast<size_t>(cell)];
                        placement.cells.emplace_back(cell, code);
                        placement.sum += code;
                    }
                if (inside)
                    placements.push_back(std::move(placement));
            }

    Layouts found;
    auto consider = [&](const std::vector<const Placement*>& chosen) {
        std::vector<int> sums(target.size(), 0);
        int total = 0;
        Layout layout;
        for (const Placement* placement : chosen) {
            for (const auto& [cell, code] : placement->cells)
                sums[static_cast<size_t>(cell)] += code;
            total += placement->sum;
            layout.push_back(placement->place);
        }
        for (size_t cell = 0; cell < target.size(); ++cell)
            if (sums[cell] > target[cell])
                return false;
        if (chosen.size() == pieces.size() && total == targetSum && layableInSomeOrder(layout))
            found.insert(canonicalLayout(layout));
        return true;
    };
    const size_t n = placements.size();
    for (size_t a = 0; a < n; ++a) {
        if (pieces.size() == 1) {
            consider({&placements[a]});
            continue;
        }
        for (size_t b = a + 1; b < n; ++b) {
            if (!consider({&placements[a], &placements[b]}) || pieces.size() == 2)
                continue;
            for (size_t c = b + 1; c < n; ++c)
                if (placements[a].sum + placements[b].sum + placements[c].sum == targetSum)
                    consider({&placements[a], &placements[b], &placements[c]});
        }
    }
    return found;
}

TEST(Solver, SmallFiguresHaveExactlyTheLayoutsOfAnExhaustiveSearch)
{
    // The first pieces of composed Quellons, tilted and not: record order is
    // building order, so they are joined and can be laid.
    const std::vector<PuzzleRecord> records = composedQuellons(6, 21);
    int withSeveral = 0;
    for (const PuzzleRecord& record : records)
        for (size_t size : {size_t{1}, size_t{2}, size_t{3}}) {
            const std::vector<PieceState> pieces(record.pieces.begin(),
                                                 record.pieces.begin() + static_cast<long>(size));
            const SolveResult result = solveFigure(pieces);
            const Layouts solved(result.kept.begin(), result.kept.end());
            EXPECT_EQ(solved, layoutsByExhaustiveSearch(pieces))
                << size << " pieces, orientation " << int(pieces[0].orientation);
            EXPECT_EQ(result.layouts, static_cast<int64_t>(solved.size())) << "a layout was reported twice";
            withSeveral += result.layouts > 1;
        }
    // A square of two halves can be cut along either diagonal, so some of
    // these have more than one layout: the comparison is not trivial.
    EXPECT_GT(withSeveral, 0);
}

TEST(Solver, EveryLayoutOfAQuellonSolvesItOnceAndTheRecordIsAmongThem)
{
    for (const PuzzleRecord& record : composedQuellons(30, 5)) {
        const SolveResult result = solveQuellon(record);
        ASSERT_FALSE(result.capped);
        ASSERT_EQ(result.layouts, static_cast<int64_t>(result.kept.size()));
        EXPECT_GT(result.nodes, 0);
        EXPECT_EQ(result.unbuildable, 0);
        const Layouts distinct(result.kept.begin(), result.kept.end());
        EXPECT_EQ(distinct.size(), result.kept.size()) << "a layout was reported twice";
        EXPECT_TRUE(distinct.count(canonicalLayout(record.pieces)));
        for (const Layout& layout : result.kept) {
            EXPECT_TRUE(passesSolveCheck(record, layout));
            EXPECT_TRUE(canBeLaid(layout));
        }
        // Nor does the corner the search starts from, though its path does.
        for (const ScanStart start : {ScanStart::TopRight, ScanStart::BottomLeft, ScanStart::BottomRight}) {
            SolverOptions from;
            from.start = start;
            const SolveResult other = solveQuellon(record, from);
            EXPECT_EQ(Layouts(other.kept.begin(), other.kept.end()), distinct);
            EXPECT_EQ(other.layouts, result.layouts);
        }
        // Where the figure lies does not matter: shifted, it has the same
        // layouts, shifted.
        PuzzleRecord shifted = record;
        for (PieceState& piece : shifted.pieces) {
            piece.x = static_cast<uint8_t>(piece.x - 9);
            piece.y = static_cast<uint8_t>(piece.y + 5);
        }
        Layouts expected;
        for (Layout layout : result.kept) {
            for (PieceState& piece : layout) {
                piece.x = static_cast<uint8_t>(piece.x - 9);
                piece.y = static_cast<uint8_t>(piece.y + 5);
            }
            expected.insert(layout);
        }
        const SolveResult moved = solveQuellon(shifted);
        EXPECT_EQ(Layouts(moved.kept.begin(), moved.kept.end()), expected);
    }
}

TEST(Solver, WrongLayoutsFailTheCheckThatTheSolverPasses)
{
    // The check the solver's layouts pass is not a formality: one piece
    // turned a step, or moved a cell, and the layout no longer solves.
    const PuzzleRecord record = composedQuellons(1, 3)[0];
    Layout turned(record.pieces.begin(), record.pieces.end());
    turned[4].orientation = static_cast<uint8_t>((turned[4].orientation + 2) % kOrientationCount);
    EXPECT_FALSE(passesSolveCheck(record, turned));
    Layout moved(record.pieces.begin(), record.pieces.end());
    moved[2].x = static_cast<uint8_t>(moved[2].x + 1);
    EXPECT_FALSE(passesSolveCheck(record, moved));
    // Two pieces on the same spot cannot be laid.
    Layout twice(record.pieces.begin(), record.pieces.end());
    twice[1] = twice[0];
    EXPECT_FALSE(canBeLaid(twice));
}

TEST(Solver, CapsAreReported)
{
    const PuzzleRecord record = composedQuellons(1, 3)[0];
    const SolveResult full = solveQuellon(record);
    ASSERT_GT(full.nodes, 10);

    SolverOptions few;
    few.maxNodes = 10;
    const SolveResult capped = solveQuellon(record, few);
    EXPECT_TRUE(capped.capped);
    EXPECT_EQ(capped.nodes, 10);
    EXPECT_LE(capped.layouts, full.layouts);

    SolverOptions keepOne;
    keepOne.maxKeptLayouts = 1;
    const SolveResult counted = solveQuellon(record, keepOne);
    EXPECT_FALSE(counted.capped);
    EXPECT_EQ(counted.layouts, full.layouts);
    EXPECT_EQ(counted.kept.size(), 1u);
}

TEST(Difficulty, RisesWithDeadEndsAndTiltedPiecesAndFallsWithMoreLayouts)
{
    const PuzzleRecord record = composedQuellons(1, 3)[0];
    SolvingEffort effort;
    effort.layouts = 4;
    effort.deadEnds = 80;
    effort.starts = 4;
    effort.candidates = 600;
    const double base = difficultyOf(effort, record);
    SolvingEffort more = effort;
    more.deadEnds = 160;
    EXPECT_GT(difficultyOf(more, record), base);
    SolvingEffort fewer = effort;
    fewer.layouts = 1;
    EXPECT_GT(difficultyOf(fewer, record), base);
    PuzzleRecord flat = record;
    for (PieceState& piece : flat.pieces)
        piece.orientation = 0;
    PuzzleRecord tilted = flat;
    tilted.pieces[3].orientation = 1;
    EXPECT_NEAR(difficultyOf(effort, tilted) - difficultyOf(effort, flat), 0.5, 1e-9);
}

TEST(CatalogueOrder, FiguresOpenVariedAndMixInAndTheHardestCloseInGentleWaves)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<double> spread(1.0, 8.0);
    // Families as uneven as in the figures file, where letters are a third.
    std::discrete_distribution<int> family({30, 24, 18, 9, 7, 6, 4, 1, 1});
    std::bernoulli_distribution tilted(0.4);
    std::vector<FigureToOrder> figures(120);
    for (FigureToOrder& figure : figures) {
        figure.difficulty = spread(random);
        figure.family = family(random);
        figure.tilted = tilted(random);
    }
    for (size_t k = 0; k < figures.size(); k += 2)
        figures[k].opening = figures[k].family != 0;  // some of the commonest family named by most, not all
    std::vector<double> composed(830);
    for (double& d : composed)
        d = spread(random);
    const OrderingRules rules;
    const std::vector<int> order = arrangeCatalogue(figures, composed, rules);

    ASSERT_EQ(order.size(), 950u);
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> all(950);
    std::iota(all.begin(), all.end(), 0);
    ASSERT_EQ(sorted, all);

    auto isFigure = [](int index) { return index < 120; };
    auto difficulty = [&](int index) {
        return isFigure(index) ? figures[size_t(index)].difficulty : composed[size_t(index) - 120];
    };
    // The first 20 are figures, each the easiest that the opening's rules
    // allow in its place after the places before it: named by all, not
    // tilted, not of the family before it, not of a family that has its share
    // already.
    ASSERT_TRUE(std::all_of(order.begin(), order.begin() + 20, isFigure));
    std::vector<int> shares(9, 0);
    for (size_t p = 0; p < 20; ++p) {
        auto allowedHere = [&](int index) {
            const FigureToOrder& figure = figures[size_t(index)];
            return figure.opening && !figure.tilted &&
                   (p == 0 || figure.family != figures[size_t(order[p - 1])].family) &&
                   shares[size_t(figure.family)] < rules.openingFamilyMost;
        };
        EXPECT_TRUE(allowedHere(order[p])) << "place " << p;
        for (int index = 0; index < 120; ++index) {
            const bool placedBefore =
                std::find(order.begin(), order.begin() + long(p), index) != order.begin() + long(p);
            if (!placedBefore && allowedHere(index)) {
                EXPECT_GE(difficulty(index), difficulty(order[p])) << "figure " << index << " at place " << p;
            }
        }
        ++shares[size_t(figures[size_t(order[p])].family)];
    }
    // After the opening the figures keep their order, easiest first.
    std::vector<double> figureSequence;
    for (auto it = order.begin() + 20; it != order.end(); ++it)
        if (isFigure(*it))
            figureSequence.push_back(difficulty(*it));
    EXPECT_EQ(figureSequence.size(), 100u);
    EXPECT_TRUE(std::is_sorted(figureSequence.begin(), figureSequence.end()));
    // The composed Quellons of the last fifth are the hardest composed ones.
    double hardestBefore = 0.0, easiestAfter = 100.0;
    for (size_t p = 0; p < order.size(); ++p) {
        if (isFigure(order[p]))
            continue;
        if (p < 760)
            hardestBefore = std::max(hardestBefore, difficulty(order[p]));
        else
            easiestAfter = std::min(easiestAfter, difficulty(order[p]));
    }
    EXPECT_LE(hardestBefore, easiestAfter);
    // Gentle waves: a composed Quellon is never far from where a plain
    // ascending order would put it, yet the order does turn back.
    std::vector<double> composedSequence;
    for (int index : order)
        if (!isFigure(index))
            composedSequence.push_back(difficulty(index));
    std::vector<double> ascending = composed;
    std::sort(ascending.begin(), ascending.end());
    // A crest's key reaches one amplitude up, a trough's one down.
    const double reach = 2.0 * rules.waveDepth * rules.wavePeriod / (2.0 * std::numbers::pi) + 2.0;
    for (size_t s = 0; s < composedSequence.size(); ++s) {
        const auto rank = std::lower_bound(ascending.begin(), ascending.end(), composedSequence[s]) - ascending.begin();
        EXPECT_LE(std::abs(static_cast<double>(rank) - static_cast<double>(s)), reach) << "position " << s;
    }
    EXPECT_FALSE(std::is_sorted(composedSequence.begin(), composedSequence.end()));
}

TEST(CatalogueOrder, AnOpeningFromFewFamiliesStillNeverRepeatsAFamilyNextToItself)
{
    // As in the shipped file: 20 figures named by all, eight of them letters
    // (family 0) and the easiest, too few of the others for three a family.
    const std::vector<int> families = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 5};
    std::vector<FigureToOrder> figures;
    for (size_t k = 0; k < families.size(); ++k)
        figures.push_back({.difficulty = double(k), .family = families[k], .tilted = false, .opening = true});
    figures.push_back({.difficulty = 0.5, .family = 1, .tilted = false, .opening = false});
    const std::vector<double> composed(100, 9.0);
    const std::vector<int> order = arrangeCatalogue(figures, composed);
    for (size_t p = 0; p < 20; ++p) {
        EXPECT_TRUE(figures[size_t(order[p])].opening) << "place " << p;
        if (p > 0) {
            EXPECT_NE(figures[size_t(order[p])].family, figures[size_t(order[p - 1])].family) << "place " << p;
        }
    }
}

TEST(CatalogueOrder, EachRangeGetsItsShareOfFiguresOrTheSamePartOfItAsTheOthers)
{
    const OrderingRules rules;  // 1..100: 60 %, 101..300: a third, 301..950: an eighth
    const std::vector<int> ends = {100, 300, 950};
    const std::vector<double> wanted = {60, 67, 82};  // what each range wants, the opening included
    for (const int figureCount : {50, 120, 260}) {
        std::vector<FigureToOrder> figures(static_cast<size_t>(figureCount));
        for (size_t k = 0; k < figures.size(); ++k)
            figures[k].difficulty = double(k % 7);
        const std::vector<double> composed(static_cast<size_t>(950 - figureCount), 1.0);
        const std::vector<int> order = arrangeCatalogue(figures, composed, rules);
        ASSERT_EQ(order.size(), 950u);
        // Beyond the opening's 20, the figures fall short of 40 + 67 + 82 = 189
        // with 50 and 120: each range gets the same part of what it wants.
        const double part = std::min(1.0, (figureCount - 20) / 189.0);
        int begin = 0;
        for (size_t r = 0; r < ends.size(); ++r) {
            const auto count = std::count_if(order.begin() + begin, order.begin() + ends[r],
                                             [&](int index) { return index < figureCount; });
            const double opening = r == 0 ? 20.0 : 0.0;
            if (part < 1.0)
                EXPECT_NEAR(double(count), opening + part * (wanted[r] - opening), 1.0)
                    << figureCount << " figures, Quellons " << begin + 1 << ".." << ends[r];
            else
                EXPECT_GE(double(count), wanted[r])
                    << figureCount << " figures, Quellons " << begin + 1 << ".." << ends[r];
            begin = ends[r];
        }
    }
}

}  // namespace
}  // namespace quellon::catalogue
