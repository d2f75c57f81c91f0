// Measures of a figure. Holes are found on a raster of 4 x 4 samples per cell;
// everything else is computed exactly from the lattice corners.
#include "tools/catalogue/figure_quality.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "engine/orientation_table.h"

namespace quellon::catalogue {

namespace {

constexpr int kSamplesPerCell = 4;
constexpr int kRasterScale = 2 * kSamplesPerCell;  // sample centres at odd multiples of 1/8 cell

// Correctly rounded everywhere (unlike std::hypot), so that measures and the
// catalogue order do not depend on the maths library.
double latticeLength(int dx, int dy) { return std::sqrt(static_cast<double>(dx * dx + dy * dy)); }

long long cross(Point o, Point a, Point b)
{
    return static_cast<long long>(a.x - o.x) * (b.y - o.y) - static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

}  // namespace

long long doubledHullArea(std::vector<Point> points)
{
    std::sort(points.begin(), points.end(), [](Point a, Point b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return 0;
    // Monotone chain.
    std::vector<Point> hull(2 * points.size());
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0)
            --k;
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    long long area = 0;
    for (size_t i = 0; i < hull.size(); ++i) {
        const Point a = hull[i];
        const Point b = hull[(i + 1) % hull.size()];
        area += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
    }
    return std::llabs(area);
}

namespace {

// Angle in eighths of a turn that piece covers around lattice point p.
int coveredEighths(const PiecePlace& piece, Point p)
{
    const std::array<Point, 3> c = pieceCorners(piece);
    for (size_t k = 0; k < 3; ++k)
        if (c[k] == p)
            return k == 1 ? 2 : 1;
    const long long s0 = cross(c[0], c[1], p);
    const long long s1 = cross(c[1], c[2], p);
    const long long s2 = cross(c[2], c[0], p);
    const bool inside = (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
    if (!inside)
        return 0;
    return (s0 == 0 || s1 == 0 || s2 == 0) ? 4 : 8;
}

int countFreeTips(const Figure& figure)
{
    std::vector<Point> tips;
    for (const PiecePlace& piece : figure) {
        const std::array<Point, 3> c = pieceCorners(piece);
        for (size_t k : {size_t{0}, size_t{2}}) {
            int eighths = 0;
            for (const PiecePlace& other : figure)
                eighths += coveredEighths(other, c[k]);
            if (eighths <= 1 && std::find(tips.begin(), tips.end(), c[k]) == tips.end())
                tips.push_back(c[k]);
        }
    }
    return static_cast<int>(tips.size());
}

struct Gaps {
    double largestHole = 0.0;
    int inletCells = 0;
};

// Cells that a closing with a 3 x 3 square adds to the cells at least half
// covered: the narrow slits and pockets of the outline.
int countInletCells(const std::vector<uint8_t>& raster, int width, int height)
{
    const int columns = width / kSamplesPerCell;
    const int rows = height / kSamplesPerCell;
    std::vector<uint8_t> covered(static_cast<size_t>(columns * rows), 0);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            int count = 0;
            for (int sy = 0; sy < kSamplesPerCell; ++sy)
                for (int sx = 0; sx < kSamplesPerCell; ++sx)
                    count += raster[static_cast<size_t>((row * kSamplesPerCell + sy) * width +
                                                        column * kSamplesPerCell + sx)] == 1;
            covered[static_cast<size_t>(row * columns + column)] = 2 * count >= kSamplesPerCell * kSamplesPerCell;
        }
    auto at = [&](const std::vector<uint8_t>& map, int column, int row) -> uint8_t {
        if (column < 0 || row < 0 || column >= columns || row >= rows)
            return 0;
        return map[static_cast<size_t>(row * columns + column)];
    };
    std::vector<uint8_t> dilated(covered.size(), 0);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    dilated[static_cast<size_t>(row * columns + column)] |= at(covered, column + dx, row + dy);
    int added = 0;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            if (at(covered, column, row))
                continue;
            bool closed = true;
            for (int dy = -1; dy <= 1 && closed; ++dy)
                for (int dx = -1; dx <= 1 && closed; ++dx)
                    closed = at(dilated, column + dx, row + dy) != 0;
            added += closed;
        }
    return added;
}

// Largest region of uncovered samples that cannot reach the edge of the
// raster, in cells, and the inlets of the outline. Samples on an edge count
// as covered, so pieces that share an edge leave no gap between them.
Gaps measureGaps(const Figure& figure)
{
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    for (const PiecePlace& piece : figure)
        for (const Point& c : pieceCorners(piece)) {
            minX = std::min(minX, c.x);
            maxX = std::max(maxX, c.x);
            minY = std::min(minY, c.y);
            maxY = std::max(maxY, c.y);
        }
    const int originX = minX - 1;
    const int originY = minY - 1;
    const int width = (maxX - minX + 2) * kSamplesPerCell;
    const int height = (maxY - minY + 2) * kSamplesPerCell;
    std::vector<uint8_t> raster(static_cast<size_t>(width * height), 0);
    for (const PiecePlace& piece : figure) {
        std::array<Point, 3> c = pieceCorners(piece);
        int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
        for (Point& p : c) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
            p = {(p.x - originX) * kRasterScale, (p.y - originY) * kRasterScale};
        }
        for (int sy = (top - originY) * kSamplesPerCell; sy < (bottom - originY) * kSamplesPerCell; ++sy) {
            for (int sx = (left - originX) * kSamplesPerCell; sx < (right - originX) * kSamplesPerCell; ++sx) {
                const Point s{2 * sx + 1, 2 * sy + 1};
                const long long s0 = cross(c[0], c[1], s);
                const long long s1 = cross(c[1], c[2], s);
                const long long s2 = cross(c[2], c[0], s);
                if ((s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0))
                    raster[static_cast<size_t>(sy * width + sx)] = 1;
            }
        }
    }
    // Flood the outside (2) from the border, then measure what is left empty.
    std::vector<int> stack;
    auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        uint8_t& v = raster[static_cast<size_t>(y * width + x)];
        if (v == 0) {
            v = 2;
            stack.push_back(y * width + x);
        }
    };
    auto flood = [&](int x, int y) {
        int size = 0;
        push(x, y);
        while (!stack.empty()) {
            const int index = stack.back();
            stack.pop_back();
            ++size;
            const int px = index % width;
            const int py = index / width;
            push(px + 1, py);
            push(px - 1, py);
            push(px, py + 1);
            push(px, py - 1);
        }
        return size;
    };
    Gaps gaps;
    gaps.inletCells = countInletCells(raster, width, height);
    flood(0, 0);  // the margin row and column are always empty
    int largest = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (raster[static_cast<size_t>(y * width + x)] == 0)
                largest = std::max(largest, flood(x, y));
    gaps.largestHole = static_cast<double>(largest) / (kSamplesPerCell * kSamplesPerCell);
    return gaps;
}

// Pairs of edges of two pieces that face each other across a strip at most
// `maxWidth` cells wide, along a positive length: slits and slivers. Edges
// that lie on one line are joins, not gaps.
int countNarrowGaps(const Figure& figure, double maxWidth)
{
    std::vector<std::array<Point, 3>> wound;
    for (const PiecePlace& piece : figure) {
        std::array<Point, 3> c = pieceCorners(piece);
        if (cross(c[0], c[1], c[2]) < 0)
            std::swap(c[1], c[2]);
        wound.push_back(c);
    }
    int gaps = 0;
    for (size_t a = 0; a < wound.size(); ++a)
        for (size_t b = 0; b < wound.size(); ++b) {
            if (a == b)
                continue;
            for (size_t i = 0; i < 3; ++i) {
                const Point p0 = wound[a][i];
                const Point p1 = wound[a][(i + 1) % 3];
                const Point d{p1.x - p0.x, p1.y - p0.y};
                const double length = latticeLength(d.x, d.y);
                for (size_t j = 0; j < 3; ++j) {
                    const Point q0 = wound[b][j];
                    const Point q1 = wound[b][(j + 1) % 3];
                    const Point g{q1.x - q0.x, q1.y - q0.y};
                    if (static_cast<long long>(d.x) * g.y - static_cast<long long>(d.y) * g.x != 0)
                        continue;  // not parallel
                    if (static_cast<long long>(d.x) * g.x + static_cast<long long>(d.y) * g.y >= 0)
                        continue;  // same direction: the pieces lie on one side
                    // Piece a lies on the positive side of its edge; the facing
                    // edge must lie on the other side, close by.
                    const long long side = cross(p0, p1, q0);
                    if (side >= 0 || -static_cast<double>(side) / length > maxWidth)
                        continue;
                    const double t0 = ((q0.x - p0.x) * d.x + (q0.y - p0.y) * d.y) / (length * length);
                    const double t1 = ((q1.x - p0.x) * d.x + (q1.y - p0.y) * d.y) / (length * length);
                    if (std::min(1.0, std::max(t0, t1)) - std::max(0.0, std::min(t0, t1)) > 1e-9)
                        ++gaps;
                }
            }
        }
    return gaps / 2;  // each gap is seen from both sides
}

double perimeter(const PiecePlace& piece)
{
    const std::array<Point, 3> c = pieceCorners(piece);
    double total = 0.0;
    for (size_t k = 0; k < 3; ++k)
        total += latticeLength(c[(k + 1) % 3].x - c[k].x, c[(k + 1) % 3].y - c[k].y);
    return total;
}

}  // namespace

const char* parityName(Parity parity)
{
    switch (parity) {
    case Parity::Even:
        return "even";
    case Parity::Odd:
        return "odd";
    case Parity::Mixed:
        return "mixed";
    }
    return "";
}

FigureQuality measureFigure(const Figure& figure)
{
    FigureQuality q;
    int odd = 0;
    std::vector<Point> corners;
    std::array<bool, kOrientationCount> used{};
    double totalPerimeter = 0.0;
    for (const PiecePlace& piece : figure) {
        odd += piece.orientation % 2;
        q.doubledArea += doubledPieceArea(piece);
        for (const Point& c : pieceCorners(piece))
            corners.push_back(c);
        used[static_cast<size_t>(piece.orientation)] = true;
        totalPerimeter += perimeter(piece);
    }
    q.parity = odd == 0 ? Parity::Even : odd == kPieceCount ? Parity::Odd : Parity::Mixed;
    q.doubledHull = doubledHullArea(corners);
    q.hullRatio = q.doubledHull > 0 ? static_cast<double>(q.doubledArea) / static_cast<double>(q.doubledHull) : 0.0;
    q.distinctOrientations = static_cast<int>(std::count(used.begin(), used.end(), true));

    std::array<double, kPieceCount> contact{};
    double shared = 0.0;
    for (size_t a = 0; a < figure.size(); ++a)
        for (size_t b = a + 1; b < figure.size(); ++b) {
            const double length = sharedEdgeLength(figure[a], figure[b]);
            contact[a] += length;
            contact[b] += length;
            shared += length;
        }
    q.minContact = *std::min_element(contact.begin(), contact.end());
    q.hiddenShare = totalPerimeter > 0.0 ? 2.0 * shared / totalPerimeter : 0.0;
    q.freeTips = countFreeTips(figure);
    q.narrowGaps = countNarrowGaps(figure, QualityLimits{}.maxGapWidth);
    long long diameter = 0;
    for (const Point& a : corners)
        for (const Point& b : corners)
            diameter = std::max(diameter, static_cast<long long>(a.x - b.x) * (a.x - b.x) +
                                              static_cast<long long>(a.y - b.y) * (a.y - b.y));
    q.roundness = diameter > 0 ? q.doubledArea / 2.0 / static_cast<double>(diameter) : 0.0;
    const Gaps gaps = measureGaps(figure);
    q.largestHole = gaps.largestHole;
    q.inletCells = gaps.inletCells;

    const CodeImage image = stampFigure(figure);
    q.width = image.width;
    q.height = image.height;
    return q;
}

std::string qualityFailure(const FigureQuality& q, const QualityLimits& limits)
{
    if (q.hullRatio < limits.minHullRatio)
        return "not compact";
    if (q.roundness < limits.minRoundness)
        return "long and thin";
    if (q.narrowGaps > 0)
        return "narrow gap";
    if (q.largestHole >= limits.maxHole)
        return "hole";
    if (q.inletCells > limits.maxInletCells)
        return "slit";
    if (q.freeTips > limits.maxFreeTips)
        return "spiky";
    if (q.minContact < limits.minContact)
        return "loose piece";
    if (q.width > limits.maxWidth || q.height > limits.maxHeight)
        return "too large";
    return {};
}

}  // namespace quellon::catalogue
