// Quellon composition. Everything random comes from one std::mt19937 seeded
// with the given seed and reduced by plain modulo, so a seed gives the same
// catalogue with any standard library.
#include "tools/catalogue/generator.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <unordered_set>

#include "engine/board.h"
#include "engine/orientation_table.h"
#include "engine/silhouette.h"
#include "tools/catalogue/difficulty.h"
#include "tools/catalogue/likeness.h"
#include "tools/catalogue/solver.h"
#include "tools/catalogue/validator.h"

namespace quellon::catalogue {

namespace {

constexpr int kCentreX = 45;
constexpr int kCentreY = 30;
constexpr int kTriesPerPiece = 80;
constexpr int kCandidatesPerPiece = 12;
constexpr int kMaxBuildsPerQuellon = 400;
constexpr int kMaxPartsPerCell = 6;
constexpr double kAlignedShare = 0.5;
constexpr double kHullNoise = 0.3;
constexpr double kDiameterWeight = 0.2;

class Random {
public:
    explicit Random(uint32_t seed) : generator_(seed) {}
    int below(int n) { return static_cast<int>(generator_() % static_cast<uint32_t>(n)); }
    double unit() { return static_cast<double>(generator_()) / 4294967296.0; }

private:
    std::mt19937 generator_;
};

struct EdgeRef {
    int orientation;
    Point start;  // offset from the anchor, in winding order
    Point end;
};

struct Direction {
    Point step;  // primitive lattice step along the edge
    int length;  // number of steps
};

Direction directionOf(Point from, Point to)
{
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    const int steps = std::gcd(std::abs(dx), std::abs(dy));
    return {{dx / steps, dy / steps}, steps};
}

std::array<Point, 3> wound(const PiecePlace& piece)
{
    std::array<Point, 3> c = pieceCorners(piece);
    const long long turn = static_cast<long long>(c[1].x - c[0].x) * (c[2].y - c[0].y) -
                           static_cast<long long>(c[1].y - c[0].y) * (c[2].x - c[0].x);
    if (turn < 0)
        std::swap(c[1], c[2]);
    return c;
}

// Every edge of every orientation, filed by its direction, so that a new
// piece can be laid against an edge with one that runs the other way.
class EdgeDirectory {
public:
    EdgeDirectory()
    {
        for (int o = 0; o < kOrientationCount; ++o) {
            const std::array<Point, 3> c = wound({0, 0, o});
            for (size_t k = 0; k < 3; ++k) {
                const EdgeRef edge{o, c[k], c[(k + 1) % 3]};
                const Point step = directionOf(edge.start, edge.end).step;
                auto it = std::find_if(filed_.begin(), filed_.end(),
                                       [&](const Filed& f) { return f.step == step && f.parity == o % 2; });
                if (it == filed_.end())
                    it = filed_.insert(filed_.end(), Filed{step, o % 2, {}});
                it->edges.push_back(edge);
            }
        }
    }
    // Edges of orientations of the given parity that run along `step`.
    const std::vector<EdgeRef>& along(Point step, int parity) const
    {
        static const std::vector<EdgeRef> none;
        for (const Filed& filed : filed_)
            if (filed.step == step && filed.parity == parity)
                return filed.edges;
        return none;
    }

private:
    struct Filed {
        Point step;
        int parity;
        std::vector<EdgeRef> edges;
    };
    std::vector<Filed> filed_;
};

// The pieces laid so far, with the codes each cell received, so that a
// candidate can be tested against every order of laying.
class Build {
public:
    Build() { counts_.fill(0); }

    int size() const { return static_cast<int>(pieces_.size()); }
    const std::vector<PiecePlace>& pieces() const { return pieces_; }

    bool accepts(const PiecePlace& candidate) const
    {
        if (!probe_.inBounds(candidate.x, candidate.y, candidate.orientation))
            return false;
        for (const PiecePlace& piece : pieces_)
            if (trianglesOverlap(piece, candidate))
                return false;
        const int o = candidate.orientation;
        for (int i = boundsMinX[o]; i <= boundsMaxX[o]; ++i) {
            for (int j = boundsMinY[o]; j <= boundsMaxY[o]; ++j) {
                const uint8_t code = cellCode(o, i, j);
                const size_t cell = static_cast<size_t>(gridIndex(candidate.x + i, candidate.y + j));
                const int count = counts_[cell];
                if (code == 0 || count == 0)
                    continue;
                if (count >= kMaxPartsPerCell - 1)
                    return false;
                std::array<uint8_t, kMaxPartsPerCell> codes{};
                std::copy_n(parts_[cell].begin(), count, codes.begin());
                codes[static_cast<size_t>(count)] = code;
                if (!cellAcceptsEveryOrder(std::span<const uint8_t>(codes.data(), static_cast<size_t>(count + 1))))
                    return false;
            }
        }
        return true;
    }

    void add(const PiecePlace& piece)
    {
        pieces_.push_back(piece);
        const int o = piece.orientation;
        for (int i = boundsMinX[o]; i <= boundsMaxX[o]; ++i)
            for (int j = boundsMinY[o]; j <= boundsMaxY[o]; ++j)
                if (const uint8_t code = cellCode(o, i, j); code != 0) {
                    const size_t cell = static_cast<size_t>(gridIndex(piece.x + i, piece.y + j));
                    parts_[cell][static_cast<size_t>(counts_[cell]++)] = code;
                }
    }

private:
    Board probe_;  // only for its bounds test
    std::vector<PiecePlace> pieces_;
    std::array<std::array<uint8_t, kMaxPartsPerCell>, kBoardColumns * kBoardRows> parts_{};
    std::array<uint8_t, kBoardColumns * kBoardRows> counts_{};
};

// How far the figure with the extra piece is from compact: twice its hull
// area, plus a share of its squared diameter so that long convex strips, whose
// hull is small, do not pass for compact.
double spreadWith(const std::vector<PiecePlace>& pieces, const PiecePlace& extra)
{
    std::vector<Point> corners;
    for (const PiecePlace& piece : pieces)
        for (const Point& c : pieceCorners(piece))
            corners.push_back(c);
    for (const Point& c : pieceCorners(extra))
        corners.push_back(c);
    long long diameter = 0;
    for (const Point& a : corners)
        for (const Point& b : corners)
            diameter = std::max(diameter, static_cast<long long>(a.x - b.x) * (a.x - b.x) +
                                              static_cast<long long>(a.y - b.y) * (a.y - b.y));
    return static_cast<double>(doubledHullArea(std::move(corners))) + kDiameterWeight * static_cast<double>(diameter);
}

// One attempt at a figure of the given parity (0 even, 1 odd), grown from the
// centre of the board; false when some piece found no place.
bool buildFigure(Random& random, const EdgeDirectory& directory, int parity, Build& build)
{
    build.add({kCentreX, kCentreY, 2 * random.below(kOrientationCount / 2) + parity});
    while (build.size() < kPieceCount) {
        PiecePlace best;
        double bestScore = 0.0;
        int found = 0;
        for (int t = 0; t < kTriesPerPiece && found < kCandidatesPerPiece; ++t) {
            const PiecePlace& neighbour = build.pieces()[static_cast<size_t>(random.below(build.size()))];
            const std::array<Point, 3> c = wound(neighbour);
            const int e = random.below(3);
            const Point from = c[static_cast<size_t>(e)];
            const Direction along = directionOf(from, c[static_cast<size_t>((e + 1) % 3)]);
            const std::vector<EdgeRef>& matches = directory.along({-along.step.x, -along.step.y}, parity);
            if (matches.empty())
                continue;
            const EdgeRef& edge = matches[static_cast<size_t>(random.below(static_cast<int>(matches.size())))];
            const int length = directionOf(edge.start, edge.end).length;
            // The new edge, read backwards, starts `shift` steps along the old
            // one; any shift in this range makes them overlap.
            // Mostly corner to corner, which gives tidy outlines; sometimes
            // anywhere along the edge, which gives variety.
            int shift = 1 - length + random.below(along.length + length - 1);
            if (random.unit() < kAlignedShare)
                shift = random.below(2) == 0 ? 0 : along.length - length;
            const PiecePlace candidate{from.x + shift * along.step.x - edge.end.x,
                                       from.y + shift * along.step.y - edge.end.y, edge.orientation};
            if (!build.accepts(candidate))
                continue;
            // Prefer positions that keep the figure compact, with noise so
            // that not every figure becomes the same blob.
            const double score = spreadWith(build.pieces(), candidate) * (1.0 + kHullNoise * random.unit());
            if (found == 0 || score < bestScore) {
                best = candidate;
                bestScore = score;
            }
            ++found;
        }
        if (found == 0)
            return false;
        build.add(best);
    }
    return true;
}

PuzzleRecord recordOf(const std::vector<PiecePlace>& pieces)
{
    PuzzleRecord record;
    for (size_t k = 0; k < record.pieces.size(); ++k)
        record.pieces[k] = PieceState{static_cast<uint8_t>(pieces[k].x), static_cast<uint8_t>(pieces[k].y),
                                      static_cast<uint8_t>(pieces[k].orientation)};
    return record;
}

}  // namespace

PuzzleRecord centredOnBoard(const PuzzleRecord& record)
{
    const CodeImage image = stampFigure(figureOf(record));
    const int dx = (kCentreX - image.width / 2) - image.left;
    const int dy = (kCentreY - image.height / 2) - image.top;
    PuzzleRecord centred = record;
    for (PieceState& piece : centred.pieces) {
        piece.x = static_cast<uint8_t>(piece.x + dx);
        piece.y = static_cast<uint8_t>(piece.y + dy);
    }
    return centred;
}

std::vector<PuzzleRecord> generateCatalogue(const GeneratorOptions& options, GeneratorReport& report)
{
    if (options.count < 1 || options.count > kMaxQuellons)
        throw std::invalid_argument("the count must lie in 1..950");
    Random random(options.seed);
    const EdgeDirectory directory;
    std::unordered_set<std::string> keys;  // exact repeats, found at once
    std::vector<SilhouetteShape> shapes;   // near-repeats and tilted twins, as validate sees them
    auto repeatsEarlier = [&](const SilhouetteShape& shape) {
        return std::any_of(shapes.begin(), shapes.end(),
                           [&](const SilhouetteShape& earlier) { return bestOverlap(shape, earlier) >= kNearOverlap; });
    };
    const size_t figureCount = std::min(options.figures.size(), static_cast<size_t>(options.count));
    const std::vector<PuzzleRecord> figures(options.figures.begin(),
                                            options.figures.begin() + static_cast<long>(figureCount));
    for (size_t k = 0; k < figures.size(); ++k) {
        const std::vector<std::string> problems = recordProblems(figures[k]);
        if (!problems.empty())
            throw std::invalid_argument("figure " + std::to_string(k + 1) + " is not a valid Quellon: " + problems[0]);
        SilhouetteShape shape(figureOf(figures[k]));
        if (!keys.insert(silhouetteKey(figureOf(figures[k]))).second || repeatsEarlier(shape))
            throw std::invalid_argument("figure " + std::to_string(k + 1) + " repeats an earlier silhouette");
        shapes.push_back(std::move(shape));
    }
    report.handFigures = static_cast<int>(figures.size());

    std::vector<PuzzleRecord> composed;
    const size_t wanted = static_cast<size_t>(options.count) - figures.size();
    int odd = 0;
    auto build = std::make_unique<Build>();
    while (composed.size() < wanted) {
        if (report.builds >= options.count * kMaxBuildsPerQuellon)
            throw std::runtime_error("gave up after " + std::to_string(report.builds) + " builds with " +
                                     std::to_string(composed.size()) + " Quellons composed");
        ++report.builds;
        const int parity = odd < options.oddShare * static_cast<double>(composed.size() + 1) ? 1 : 0;
        *build = Build();
        if (!buildFigure(random, directory, parity, *build)) {
            ++report.stuck;
            continue;
        }
        const PuzzleRecord record = centredOnBoard(recordOf(build->pieces()));
        const Figure figure = figureOf(record);
        const FigureQuality quality = measureFigure(figure);
        if (const std::string failure = qualityFailure(quality, options.limits); !failure.empty()) {
            ++report.rejected[failure];
            continue;
        }
        if (!recordProblems(record).empty()) {
            ++report.rejected["invalid"];
            continue;
        }
        if (!keys.insert(silhouetteKey(figure)).second) {
            ++report.duplicates;
            continue;
        }
        SilhouetteShape shape(figure);
        if (repeatsEarlier(shape)) {
            ++report.duplicates;
            continue;
        }
        shapes.push_back(std::move(shape));
        odd += parity;
        composed.push_back(record);
    }

    auto difficulties = [&](const std::vector<PuzzleRecord>& records) {
        std::vector<double> measured;
        for (const PuzzleRecord& record : records) {
            const SolvingEffort effort = measureEffort(record, options.solver);
            report.solverNodes += effort.nodes;
            report.capped += effort.capped;
            measured.push_back(difficultyOf(effort, record));
        }
        return measured;
    };
    const std::vector<double> figureDifficulty = difficulties(figures);
    const std::vector<double> composedDifficulty = difficulties(composed);
    std::vector<FigureToOrder> figuresToOrder;
    std::map<std::string, int> familyNumbers;
    for (size_t k = 0; k < figures.size(); ++k) {
        FigureToOrder figure;
        figure.difficulty = figureDifficulty[k];
        figure.family = static_cast<int>(k);
        if (!options.figureFamilies.empty()) {
            const int next = static_cast<int>(familyNumbers.size());
            figure.family = familyNumbers.emplace(options.figureFamilies.at(k), next).first->second;
        }
        figure.opening = options.figureOpening.empty() || options.figureOpening.at(k);
        figure.tilted = std::any_of(figures[k].pieces.begin(), figures[k].pieces.end(),
                                    [](const PieceState& piece) { return piece.orientation % 2 == 1; });
        figuresToOrder.push_back(figure);
    }
    std::vector<PuzzleRecord> records;
    for (const int index : arrangeCatalogue(figuresToOrder, composedDifficulty, options.ordering))
        records.push_back(index < static_cast<int>(figures.size())
                              ? figures[static_cast<size_t>(index)]
                              : composed[static_cast<size_t>(index) - figures.size()]);
    return records;
}

}  // namespace quellon::catalogue
