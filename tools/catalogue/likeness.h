// How much two Quellons look alike to a player: their silhouettes compared up
// to shift, the sixteen orientations of the lattice and mirroring, measured
// as the overlap of the best alignment (area of the intersection over area of
// the union). The eight quarter-turn and mirror symmetries of the grid alone
// miss a figure tilted a sixteenth (its legs 3 x sqrt(10) instead of 10) or
// laid on the diagonal grid, and a silhouette that differs by a small notch.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/silhouette.h"

namespace quellon::catalogue {

// At least this overlap after the best alignment: the same silhouette.
constexpr double kSameOverlap = 0.999;
// At least this: a near-repeat (one small notch apart), refused as well.
constexpr double kNearOverlap = 0.95;

struct Vec2 {
    double x = 0.0;
    double y = 0.0;
};
using Triangle = std::array<Vec2, 3>;

// A figure brought onto the plain grid (a tilted one turned back), scaled to
// the area of eight plain pieces and centred on its centroid, in each of the
// sixteen views a player could hold it in: eight eighth turns, each also
// mirrored. Each view keeps its exact triangles and a coarse raster for a
// quick first look.
class SilhouetteShape {
public:
    static constexpr int kViews = 16;
    static constexpr int kRasterSize = 64;      // pixels per side, one 64-bit row each
    static constexpr double kRasterStep = 1.0;  // cells per pixel

    explicit SilhouetteShape(const Figure& figure);

    const std::array<Triangle, kPieceCount>& triangles(int view) const { return views_[static_cast<size_t>(view)]; }
    const std::array<uint64_t, kRasterSize>& raster(int view) const { return rasters_[static_cast<size_t>(view)]; }
    double area() const { return area_; }
    // Polar moment about the centroid and the largest distance from it:
    // together they bound how alike two shapes can be (see likeness.cpp).
    double polarMoment() const { return polarMoment_; }
    double radius() const { return radius_; }

private:
    std::array<std::array<Triangle, kPieceCount>, kViews> views_;
    std::array<std::array<uint64_t, kRasterSize>, kViews> rasters_;
    double area_ = 0.0;
    double polarMoment_ = 0.0;
    double radius_ = 0.0;
};

// Area of the intersection of the two shapes when view `view` of b is moved
// by (dx, dy) over view 0 of a; exact up to rounding (the pieces of a figure
// do not overlap, so the triangles' pairwise intersections add up).
double intersectionArea(const SilhouetteShape& a, const SilhouetteShape& b, int view, Vec2 shift);

// The overlap (intersection over union) of the best alignment of b on a, over
// all views and shifts; 0 when a quick bound shows it stays below `floor`.
double bestOverlap(const SilhouetteShape& a, const SilhouetteShape& b, double floor = kNearOverlap);

struct Repeat {
    int later = 0;    // index of the figure that repeats
    int earlier = 0;  // the earlier figure it repeats most closely
    double overlap = 0.0;
};

// Each figure whose silhouette repeats an earlier one (overlap at least
// `floor`), with the closest earlier figure (the first that is the same, if
// any); in the order of the list.
std::vector<Repeat> findRepeats(const std::vector<Figure>& figures, double floor = kNearOverlap);

}  // namespace quellon::catalogue
