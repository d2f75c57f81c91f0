// Silhouettes compared as a player sees them. Each figure is turned back onto
// the plain grid (the odd orientations lie a sixteenth off it, the legs along
// (3, 1) and (1, -3)), scaled to the area of eight plain pieces and centred on
// its centroid; the sixteen views (eighth turns, mirrored or not) then cover
// every orientation of the lattice in which the same outline can be laid.
//
// The overlap of two shapes is measured exactly, from the triangles, at the
// best shift. Finding that shift for every pair and view would take minutes
// for a catalogue, so two quick looks come first:
//  1. The polar moment J about the centroid. If the overlap is at least f,
//     each shape has at most e = S (1 - f) / (1 + f) of its area S outside
//     the other, the centroids lie at most e (Ra + Rb) / (S - e) apart (R the
//     largest distance of a corner from its own centroid), and J differs by
//     at most e (max(Ra, Rb) + that distance)^2. A pair further apart in J
//     cannot reach f in any view.
//  2. Per view, the coarse rasters (a sample per cell) overlaid at the
//     centroids: a view more than 0.15 below f there is skipped. The best
//     shift lies within the bound on the centroid distance (two cells at
//     most), and on the shipped catalogue every pair at 0.93 or more
//     measured at least 0.84 this way; the test of known twins holds
//     near-repeats to it.
// What is left is refined on the exact triangles by a pattern search over
// the shift, from the centroids; a view still more than 0.03 below f once
// the step is under half a cell is left there.
#include "tools/catalogue/likeness.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "engine/orientation_table.h"

namespace quellon::catalogue {

namespace {

// Eight plain pieces of 50 square cells: shapes of this area keep the cell as
// their unit.
constexpr double kNormalArea = 400.0;
constexpr double kCoarseMargin = 0.15;
// The raster's samples sit off the half cells, where the edges of plain
// figures run: a sample on an edge would fall either way with rounding and
// make two copies of one shape differ by whole rows.
constexpr double kRasterPhase = 0.0371;
constexpr double kPolishStep = 0.5;
constexpr double kPolishMargin = 0.03;
constexpr double kFinestStep = 1.0 / 128.0;  // cells; the overlap then moves by far less than 0.001

double cross(Vec2 o, Vec2 a, Vec2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

double triangleArea(const Triangle& t) { return 0.5 * std::abs(cross(t[0], t[1], t[2])); }

// Corners anticlockwise in the x-right, y-up sense, so that "inside" is the
// left of every edge.
void orient(Triangle& t)
{
    if (cross(t[0], t[1], t[2]) < 0)
        std::swap(t[1], t[2]);
}

Vec2 turned(Vec2 p, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

// Area of the intersection of two triangles (Sutherland-Hodgman: a convex
// polygon clipped by the three edges of the other).
double overlapArea(const Triangle& a, const Triangle& b, Vec2 shift)
{
    std::array<Vec2, 12> polygon, next;
    size_t count = 3;
    for (size_t k = 0; k < 3; ++k)
        polygon[k] = {b[k].x + shift.x, b[k].y + shift.y};
    for (size_t edge = 0; edge < 3 && count > 0; ++edge) {
        const Vec2 p = a[edge], q = a[(edge + 1) % 3];
        size_t kept = 0;
        for (size_t k = 0; k < count; ++k) {
            const Vec2 current = polygon[k], following = polygon[(k + 1) % count];
            const double dc = cross(p, q, current), df = cross(p, q, following);
            if (dc >= 0)
                next[kept++] = current;
            if ((dc >= 0) != (df >= 0)) {
                const double t = dc / (dc - df);
                next[kept++] = {current.x + t * (following.x - current.x), current.y + t * (following.y - current.y)};
            }
        }
        polygon = next;
        count = kept;
    }
    double twice = 0.0;
    for (size_t k = 0; k < count; ++k) {
        const Vec2 p = polygon[k], q = polygon[(k + 1) % count];
        twice += p.x * q.y - p.y * q.x;
    }
    return 0.5 * std::abs(twice);
}

struct Box {
    double left, bottom, right, top;
};

Box boxOf(const Triangle& t)
{
    return {std::min({t[0].x, t[1].x, t[2].x}), std::min({t[0].y, t[1].y, t[2].y}), std::max({t[0].x, t[1].x, t[2].x}),
            std::max({t[0].y, t[1].y, t[2].y})};
}

bool insideTriangle(const Triangle& t, Vec2 p)
{
    return cross(t[0], t[1], p) >= 0 && cross(t[1], t[2], p) >= 0 && cross(t[2], t[0], p) >= 0;
}

void rasterise(const std::array<Triangle, kPieceCount>& triangles,
               std::array<uint64_t, SilhouetteShape::kRasterSize>& rows)
{
    constexpr int size = SilhouetteShape::kRasterSize;
    constexpr double step = SilhouetteShape::kRasterStep;
    rows.fill(0);
    for (const Triangle& t : triangles) {
        const Box box = boxOf(t);
        const int firstColumn = std::max(0, static_cast<int>(std::floor(box.left / step)) + size / 2 - 1);
        const int lastColumn = std::min(size - 1, static_cast<int>(std::floor(box.right / step)) + size / 2 + 1);
        const int firstRow = std::max(0, static_cast<int>(std::floor(box.bottom / step)) + size / 2 - 1);
        const int lastRow = std::min(size - 1, static_cast<int>(std::floor(box.top / step)) + size / 2 + 1);
        for (int row = firstRow; row <= lastRow; ++row)
            for (int column = firstColumn; column <= lastColumn; ++column)
                if (insideTriangle(t, {(column - size / 2 + 0.5) * step + kRasterPhase,
                                       (row - size / 2 + 0.5) * step + kRasterPhase}))
                    rows[static_cast<size_t>(row)] |= uint64_t{1} << column;
    }
}

// Coarse overlap of two rasters, b moved by (dx, dy) pixels.
double coarseOverlap(const std::array<uint64_t, SilhouetteShape::kRasterSize>& a,
                     const std::array<uint64_t, SilhouetteShape::kRasterSize>& b, int dx, int dy)
{
    int both = 0, either = 0;
    for (int row = 0; row < SilhouetteShape::kRasterSize; ++row) {
        const int from = row - dy;
        uint64_t moved = 0;
        if (from >= 0 && from < SilhouetteShape::kRasterSize) {
            const uint64_t source = b[static_cast<size_t>(from)];
            moved = dx >= 0 ? source << dx : source >> -dx;
        }
        const uint64_t own = a[static_cast<size_t>(row)];
        both += std::popcount(own & moved);
        either += std::popcount(own | moved);
    }
    return either == 0 ? 0.0 : static_cast<double>(both) / either;
}

double overlapOf(const SilhouetteShape& a, const SilhouetteShape& b, double intersection)
{
    return intersection / (a.area() + b.area() - intersection);
}

}  // namespace

SilhouetteShape::SilhouetteShape(const Figure& figure)
{
    // The lattice a piece lies on, from its first leg: a multiple of a
    // quarter turn for the plain grid, about +-18.4 degrees off it for the
    // odd orientations. Turning a shape on the diagonal grid back as well
    // changes nothing, the eighth turns cover it.
    const std::array<Point, 3> first = pieceCorners(figure[0]);
    const double legAngle = std::atan2(first[0].y - first[1].y, first[0].x - first[1].x);
    const double quarter = std::numbers::pi / 2;
    const double tilt = legAngle - quarter * std::round(legAngle / quarter);

    double rawArea = 0.0;
    for (const PiecePlace& piece : figure)
        rawArea += doubledPieceArea(piece) / 2.0;
    const double scale = std::sqrt(kNormalArea / rawArea);

    std::array<Triangle, kPieceCount> base;
    Vec2 centroid;
    area_ = 0.0;
    for (size_t k = 0; k < base.size(); ++k) {
        const std::array<Point, 3> corners = pieceCorners(figure[k]);
        for (size_t c = 0; c < 3; ++c) {
            const Vec2 p = turned({static_cast<double>(corners[c].x), static_cast<double>(corners[c].y)}, -tilt);
            base[k][c] = {p.x * scale, p.y * scale};
        }
        orient(base[k]);
        const double a = triangleArea(base[k]);
        area_ += a;
        centroid.x += a * (base[k][0].x + base[k][1].x + base[k][2].x) / 3.0;
        centroid.y += a * (base[k][0].y + base[k][1].y + base[k][2].y) / 3.0;
    }
    centroid = {centroid.x / area_, centroid.y / area_};
    polarMoment_ = 0.0;
    radius_ = 0.0;
    for (Triangle& t : base) {
        for (Vec2& p : t) {
            p = {p.x - centroid.x, p.y - centroid.y};
            radius_ = std::max(radius_, std::hypot(p.x, p.y));
        }
        const auto dot = [](Vec2 u, Vec2 v) { return u.x * v.x + u.y * v.y; };
        polarMoment_ +=
            triangleArea(t) / 6.0 *
            (dot(t[0], t[0]) + dot(t[1], t[1]) + dot(t[2], t[2]) + dot(t[0], t[1]) + dot(t[1], t[2]) + dot(t[2], t[0]));
    }

    for (int view = 0; view < kViews; ++view) {
        const double angle = (view % 8) * std::numbers::pi / 4;
        const bool mirrored = view >= 8;
        auto& triangles = views_[static_cast<size_t>(view)];
        for (size_t k = 0; k < triangles.size(); ++k) {
            for (size_t c = 0; c < 3; ++c) {
                Vec2 p = turned(base[k][c], angle);
                if (mirrored)
                    p.x = -p.x;
                triangles[k][c] = p;
            }
            orient(triangles[k]);
        }
        rasterise(triangles, rasters_[static_cast<size_t>(view)]);
    }
}

double intersectionArea(const SilhouetteShape& a, const SilhouetteShape& b, int view, Vec2 shift)
{
    std::array<Box, kPieceCount> boxesB;
    for (size_t k = 0; k < boxesB.size(); ++k) {
        const Box box = boxOf(b.triangles(view)[k]);
        boxesB[k] = {box.left + shift.x, box.bottom + shift.y, box.right + shift.x, box.top + shift.y};
    }
    double total = 0.0;
    for (const Triangle& ta : a.triangles(0)) {
        const Box boxA = boxOf(ta);
        for (size_t k = 0; k < boxesB.size(); ++k) {
            const Box& boxB = boxesB[k];
            if (boxB.left >= boxA.right || boxB.right <= boxA.left || boxB.bottom >= boxA.top ||
                boxB.top <= boxA.bottom)
                continue;
            total += overlapArea(ta, b.triangles(view)[k], shift);
        }
    }
    return total;
}

double bestOverlap(const SilhouetteShape& a, const SilhouetteShape& b, double floor)
{
    const double area = std::min(a.area(), b.area());
    const double outside = area * (1.0 - floor) / (1.0 + floor);
    const double centroidDistance = outside * (a.radius() + b.radius()) / (area - outside);
    const double reach = std::max(a.radius(), b.radius()) + centroidDistance;
    if (std::abs(a.polarMoment() - b.polarMoment()) > outside * reach * reach)
        return 0.0;

    double best = 0.0;
    for (int view = 0; view < SilhouetteShape::kViews; ++view) {
        // A shape reaching past the raster is judged on the triangles alone.
        const bool rasterHolds = std::max(a.radius(), b.radius()) < SilhouetteShape::kRasterSize / 2 - 2;
        if (rasterHolds && coarseOverlap(a.raster(0), b.raster(view), 0, 0) < floor - kCoarseMargin)
            continue;
        // Pattern search on the exact area from the centroids, within the
        // reach of the centroid bound.
        {
            Vec2 at;
            double here = intersectionArea(a, b, view, at);
            for (double step = 1.0; step >= kFinestStep;) {
                bool moved = false;
                for (const Vec2 direction : {Vec2{1, 0}, Vec2{-1, 0}, Vec2{0, 1}, Vec2{0, -1}, Vec2{1, 1}, Vec2{1, -1},
                                             Vec2{-1, 1}, Vec2{-1, -1}}) {
                    const Vec2 candidate{at.x + step * direction.x, at.y + step * direction.y};
                    if (std::hypot(candidate.x, candidate.y) > centroidDistance + 1.0)
                        continue;
                    if (const double there = intersectionArea(a, b, view, candidate); there > here + 1e-12) {
                        here = there;
                        at = candidate;
                        moved = true;
                    }
                }
                if (!moved) {
                    step /= 2;
                    // Below a half cell the search only polishes: a view
                    // still far from the floor there is not worth it.
                    if (step < kPolishStep && overlapOf(a, b, here) < floor - kPolishMargin)
                        break;
                }
            }
            best = std::max(best, overlapOf(a, b, here));
            if (best >= kSameOverlap)
                return best;
        }
    }
    return best;
}

std::vector<Repeat> findRepeats(const std::vector<Figure>& figures, double floor)
{
    std::vector<SilhouetteShape> shapes;
    shapes.reserve(figures.size());
    for (const Figure& figure : figures)
        shapes.emplace_back(figure);
    std::vector<Repeat> repeats;
    for (size_t later = 1; later < shapes.size(); ++later) {
        Repeat closest{static_cast<int>(later), -1, 0.0};
        for (size_t earlier = 0; earlier < later; ++earlier) {
            const double overlap = bestOverlap(shapes[later], shapes[earlier], floor);
            if (overlap >= floor && overlap > closest.overlap) {
                closest.earlier = static_cast<int>(earlier);
                closest.overlap = overlap;
                if (overlap >= kSameOverlap)
                    break;  // the first twin will do; a file of copies stays quick
            }
        }
        if (closest.earlier >= 0)
            repeats.push_back(closest);
    }
    return repeats;
}

}  // namespace quellon::catalogue
