// The geometry tables are checked through the relations between orientations
// and through the shapes the codes stand for, so a single mistyped entry fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "engine/orientation_table.h"

using namespace quellon;

namespace {

// Points in sixths of a cell so every corner of every shape is an integer.
using Point = std::pair<int, int>;
using Shape = std::set<Point>;

// The shapes with codes up to 30, corners in sixths of a cell.
const std::map<int, Shape>& smallShapes()
{
    static const std::map<int, Shape> shapes = {
        {1, {{6, 0}, {6, 6}, {4, 6}}},          {2, {{0, 0}, {2, 0}, {0, 6}}},
        {3, {{4, 0}, {6, 0}, {6, 6}}},          {4, {{0, 0}, {2, 6}, {0, 6}}},
        {5, {{0, 0}, {6, 0}, {6, 2}}},          {6, {{0, 0}, {6, 0}, {0, 2}}},
        {7, {{6, 4}, {6, 6}, {0, 6}}},          {8, {{0, 4}, {6, 6}, {0, 6}}},
        {9, {{0, 0}, {6, 0}, {0, 3}}},          {11, {{6, 3}, {6, 6}, {0, 6}}},
        {12, {{0, 3}, {6, 6}, {0, 6}}},         {14, {{0, 0}, {6, 0}, {6, 3}}},
        {16, {{0, 0}, {3, 6}, {0, 6}}},         {17, {{6, 0}, {6, 6}, {3, 6}}},
        {19, {{0, 0}, {3, 0}, {0, 6}}},         {20, {{3, 0}, {6, 0}, {6, 6}}},
        {22, {{0, 0}, {2, 0}, {4, 6}, {0, 6}}}, {24, {{0, 0}, {4, 0}, {2, 6}, {0, 6}}},
        {25, {{0, 2}, {6, 4}, {6, 6}, {0, 6}}}, {27, {{0, 0}, {6, 0}, {6, 2}, {0, 4}}},
        {29, {{6, 0}, {6, 6}, {0, 6}}},         {30, {{0, 0}, {6, 0}, {6, 6}}},
    };
    return shapes;
}

// The 7/12 shapes: the cell without two small triangles.
const std::map<int, std::pair<int, int>> kSevenTwelfths = {
    {36, {8, 20}}, {38, {7, 19}}, {41, {6, 17}}, {43, {5, 16}},
    {46, {4, 14}}, {49, {3, 12}}, {51, {2, 11}}, {54, {1, 9}},
};

// Area in twelfths of a cell.
int area12(int code)
{
    static const std::map<int, int> small = {
        {1, 2},  {2, 2},  {3, 2},  {4, 2},  {5, 2},  {6, 2},  {7, 2},  {8, 2},  {9, 3},  {11, 3}, {12, 3},
        {14, 3}, {16, 3}, {17, 3}, {19, 3}, {20, 3}, {22, 6}, {24, 6}, {25, 6}, {27, 6}, {29, 6}, {30, 6},
    };
    if (code == 0)
        return 0;
    if (code == 64)
        return 12;
    if (kSevenTwelfths.count(code))
        return 7;
    if (small.count(code))
        return small.at(code);
    return 12 - small.at(64 - code);
}

// A shape as the sample points of a 12 x 12 grid (in 24ths of a cell) that lie
// strictly inside it, and those on its edges; the grid is closed under the
// turn and the mirror, and exact integer arithmetic decides every point.
struct Samples {
    std::set<Point> inside;
    std::set<Point> edge;
    friend bool operator==(const Samples&, const Samples&) = default;
};

Samples samplesOfPolygon(const Shape& corners)
{
    // Sort the convex polygon's corners by angle about their mean.
    std::vector<Point> poly(corners.begin(), corners.end());
    double mx = 0, my = 0;
    for (auto [x, y] : poly) {
        mx += x;
        my += y;
    }
    mx /= static_cast<double>(poly.size());
    my /= static_cast<double>(poly.size());
    std::sort(poly.begin(), poly.end(), [&](Point a, Point b) {
        return std::atan2(a.second - my, a.first - mx) < std::atan2(b.second - my, b.first - mx);
    });
    Samples samples;
    for (int k = 0; k < 12; ++k) {
        for (int m = 0; m < 12; ++m) {
            const int px = 2 * k + 1, py = 2 * m + 1;
            bool negative = false, zero = false;
            for (size_t e = 0; e < poly.size(); ++e) {
                const Point a = poly[e], b = poly[(e + 1) % poly.size()];
                const int cross = (4 * b.first - 4 * a.first) * (py - 4 * a.second) -
                                  (4 * b.second - 4 * a.second) * (px - 4 * a.first);
                negative = negative || cross < 0;
                zero = zero || cross == 0;
            }
            if (negative)
                continue;
            (zero ? samples.edge : samples.inside).insert({px, py});
        }
    }
    return samples;
}

Samples complementOf(const std::vector<Samples>& parts)
{
    Samples rest;
    for (int k = 0; k < 12; ++k) {
        for (int m = 0; m < 12; ++m) {
            const Point p{2 * k + 1, 2 * m + 1};
            bool covered = false, onEdge = false;
            for (const Samples& part : parts) {
                covered = covered || part.inside.count(p);
                onEdge = onEdge || part.edge.count(p);
            }
            if (covered)
                continue;
            (onEdge ? rest.edge : rest.inside).insert(p);
        }
    }
    return rest;
}

// Every shape code with its samples.
const std::map<int, Samples>& allShapes()
{
    static const std::map<int, Samples> shapes = [] {
        std::map<int, Samples> result;
        for (const auto& [code, corners] : smallShapes())
            result[code] = samplesOfPolygon(corners);
        for (const auto& [code, corners] : smallShapes())
            result[64 - code] = complementOf({result[code]});
        for (const auto& [code, parts] : kSevenTwelfths)
            result[code] = complementOf({result[parts.first], result[parts.second]});
        return result;
    }();
    return shapes;
}

template <typename Transform>
int mapCode(int code, Transform transform)
{
    if (code == 0 || code == 64)
        return code;
    Samples moved;
    for (const Point& p : allShapes().at(code).inside)
        moved.inside.insert(transform(p));
    for (const Point& p : allShapes().at(code).edge)
        moved.edge.insert(transform(p));
    for (const auto& [other, samples] : allShapes())
        if (samples == moved)
            return other;
    ADD_FAILURE() << "no shape matches the transformed shape of code " << code;
    return -1;
}

// A quarter turn clockwise on screen takes (u, v) in the cell to (1 - v, u).
int quarterTurn(int code)
{
    return mapCode(code, [](Point p) { return Point{24 - p.second, p.first}; });
}
// The mirror at the top-left to bottom-right diagonal takes (u, v) to (v, u).
int mirror(int code)
{
    return mapCode(code, [](Point p) { return Point{p.second, p.first}; });
}

int codeAt(int o, int i, int j)
{
    if (i < -7 || i > 6 || j < -7 || j > 6)
        return 0;
    return cellCode(o, i, j);
}

}  // namespace

TEST(OrientationTable, QuarterTurnMapsEveryCellOfEveryOrientation)
{
    for (int o = 0; o < kOrientationCount; ++o)
        for (int i = -7; i <= 6; ++i)
            for (int j = -7; j <= 6; ++j)
                ASSERT_EQ(codeAt((o + 4) % 16, -j - 1, i), quarterTurn(codeAt(o, i, j)))
                    << "orientation " << o << " cell (" << i << ", " << j << ")";
}

TEST(OrientationTable, MirrorMapsEveryCellOfEveryOrientation)
{
    for (int o = 0; o < kOrientationCount; ++o)
        for (int i = -7; i <= 6; ++i)
            for (int j = -7; j <= 6; ++j)
                ASSERT_EQ(codeAt((16 - o) % 16, j, i), mirror(codeAt(o, i, j)))
                    << "orientation " << o << " cell (" << i << ", " << j << ")";
}

TEST(OrientationTable, QuarterTurnCyclesTheHalfCellsAndSmallTriangles)
{
    EXPECT_EQ(quarterTurn(29), 34);
    EXPECT_EQ(quarterTurn(34), 35);
    EXPECT_EQ(quarterTurn(35), 30);
    EXPECT_EQ(quarterTurn(30), 29);
    EXPECT_EQ(quarterTurn(1), 8);
    EXPECT_EQ(quarterTurn(8), 2);
    EXPECT_EQ(quarterTurn(2), 5);
    EXPECT_EQ(quarterTurn(5), 1);
}

TEST(OrientationTable, CoveredAreaEqualsTheTriangleArea)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        // Shoelace area of the corners, doubled.
        int doubled = 0;
        for (int k = 0; k < 3; ++k) {
            const int n = (k + 1) % 3;
            doubled += vertexX[k * 16 + o] * vertexY[n * 16 + o] - vertexX[n * 16 + o] * vertexY[k * 16 + o];
        }
        const int expected = o % 4 == 0 ? 50 : o % 2 == 0 ? 49 : 45;
        EXPECT_EQ(std::abs(doubled), 2 * expected) << "orientation " << o;
        int twelfths = 0;
        for (int i = -7; i <= 6; ++i)
            for (int j = -7; j <= 6; ++j)
                twelfths += area12(codeAt(o, i, j));
        EXPECT_EQ(twelfths, 12 * expected) << "orientation " << o;
    }
}

TEST(OrientationTable, FullCellsPerOrientation)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        int full = 0;
        for (int i = -7; i <= 6; ++i)
            for (int j = -7; j <= 6; ++j)
                full += codeAt(o, i, j) == 64;
        const int expected = o % 4 == 0 ? 45 : o % 2 == 0 ? 42 : 31;
        EXPECT_EQ(full, expected) << "orientation " << o;
        EXPECT_EQ(codeAt(o, 0, 0), 64) << "anchor cell of orientation " << o;
    }
}

TEST(OrientationTable, RangesMatchTheCodesAndTheCorners)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        int minX = 99, maxX = -99, minY = 99, maxY = -99;
        for (int i = -7; i <= 6; ++i)
            for (int j = -7; j <= 6; ++j)
                if (codeAt(o, i, j) != 0) {
                    minX = std::min(minX, i);
                    maxX = std::max(maxX, i);
                    minY = std::min(minY, j);
                    maxY = std::max(maxY, j);
                }
        EXPECT_EQ(boundsMinX[o], minX);
        EXPECT_EQ(boundsMaxX[o], maxX);
        EXPECT_EQ(boundsMinY[o], minY);
        EXPECT_EQ(boundsMaxY[o], maxY);
        const int cornerMinX = std::min({vertexX[o], vertexX[16 + o], vertexX[32 + o]});
        const int cornerMaxX = std::max({vertexX[o], vertexX[16 + o], vertexX[32 + o]});
        const int cornerMinY = std::min({vertexY[o], vertexY[16 + o], vertexY[32 + o]});
        const int cornerMaxY = std::max({vertexY[o], vertexY[16 + o], vertexY[32 + o]});
        EXPECT_EQ(boundsMinX[o], cornerMinX);
        EXPECT_EQ(boundsMaxX[o], cornerMaxX - 1);
        EXPECT_EQ(boundsMinY[o], cornerMinY);
        EXPECT_EQ(boundsMaxY[o], cornerMaxY - 1);
        // No row inside the range is empty.
        for (int j = minY; j <= maxY; ++j) {
            bool any = false;
            for (int i = -7; i <= 6; ++i)
                any = any || codeAt(o, i, j) != 0;
            EXPECT_TRUE(any) << "orientation " << o << " row " << j;
        }
    }
}

TEST(OrientationTable, CornersTurnAndMirrorWithTheOrientation)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        const int turned = (o + 4) % 16;
        const int mirrored = (16 - o) % 16;
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(vertexX[k * 16 + turned], -vertexY[k * 16 + o]);
            EXPECT_EQ(vertexY[k * 16 + turned], vertexX[k * 16 + o]);
            // Mirroring reverses the corner order: corners 0 and 2 swap, 1 stays.
            EXPECT_EQ(vertexX[(2 - k) * 16 + mirrored], vertexY[k * 16 + o]);
            EXPECT_EQ(vertexY[(2 - k) * 16 + mirrored], vertexX[k * 16 + o]);
        }
        // Corner 1 is the right angle.
        const int ax = vertexX[o] - vertexX[16 + o], ay = vertexY[o] - vertexY[16 + o];
        const int bx = vertexX[32 + o] - vertexX[16 + o], by = vertexY[32 + o] - vertexY[16 + o];
        EXPECT_EQ(ax * bx + ay * by, 0) << "orientation " << o;
        EXPECT_EQ(ax * ax + ay * ay, bx * bx + by * by) << "orientation " << o;
    }
}

TEST(OrientationTable, AnchorLiesNearTheCentroid)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        // Three times the centroid, per axis.
        const int cx3 = vertexX[o] + vertexX[16 + o] + vertexX[32 + o];
        const int cy3 = vertexY[o] + vertexY[16 + o] + vertexY[32 + o];
        EXPECT_LE(std::abs(cx3), 1) << "orientation " << o;
        EXPECT_LE(std::abs(cy3), 1) << "orientation " << o;
        if (o % 2 == 1) {
            EXPECT_EQ(cx3, 0);
            EXPECT_EQ(cy3, 0);
        }
    }
}

TEST(AllowedPairs, ListIsSortedWithoutRepeatsAndNeverHoldsEmptyOrFullCells)
{
    ASSERT_EQ(allowedPairs.size(), 300u);
    for (size_t k = 1; k < allowedPairs.size(); ++k) {
        const auto a = std::make_pair(allowedPairs[k - 1].existing, allowedPairs[k - 1].added);
        const auto b = std::make_pair(allowedPairs[k].existing, allowedPairs[k].added);
        EXPECT_LT(a, b) << "pair " << k;
    }
    for (const CodePair& pair : allowedPairs) {
        EXPECT_NE(pair.existing, 0);
        EXPECT_NE(pair.added, 0);
        EXPECT_NE(pair.existing, 64);
        EXPECT_NE(pair.added, 64);
    }
}

TEST(AllowedPairs, ListHasTheSymmetryOfTheOrientations)
{
    // The sums of two small triangles are no shape; they turn with their parts.
    const std::map<int, std::pair<int, int>> sums = {
        {10, {1, 9}},  {13, {2, 11}}, {15, {3, 12}}, {18, {4, 14}},
        {21, {5, 16}}, {23, {6, 17}}, {26, {7, 19}}, {28, {8, 20}},
    };
    auto mapValue = [&](int value, auto map) {
        if (auto it = sums.find(value); it != sums.end())
            return map(it->second.first) + map(it->second.second);
        return map(value);
    };
    for (const CodePair& pair : allowedPairs) {
        const int te = mapValue(pair.existing, quarterTurn), ta = quarterTurn(pair.added);
        EXPECT_TRUE(isAllowedPair(static_cast<uint8_t>(te), static_cast<uint8_t>(ta)))
            << "turned pair of (" << int(pair.existing) << ", " << int(pair.added) << ")";
        const int me = mapValue(pair.existing, mirror), ma = mirror(pair.added);
        EXPECT_TRUE(isAllowedPair(static_cast<uint8_t>(me), static_cast<uint8_t>(ma)))
            << "mirrored pair of (" << int(pair.existing) << ", " << int(pair.added) << ")";
    }
}

TEST(AllowedPairs, CompletingPairsAndTheOneWayOverlaps)
{
    // A shape and its rest complete a cell, in either order.
    for (const CodePair& pair : allowedPairs) {
        if (pair.existing + pair.added == 64 && pair.existing > 28) {
            EXPECT_TRUE(isAllowedPair(pair.added, pair.existing));
        }
    }
    EXPECT_TRUE(isAllowedPair(29, 35));
    EXPECT_TRUE(isAllowedPair(35, 29));
    EXPECT_TRUE(isAllowedPair(10, 54));
    EXPECT_TRUE(isAllowedPair(38, 2));
    EXPECT_TRUE(isAllowedPair(2, 38));
    EXPECT_FALSE(isAllowedPair(38, 1));
    EXPECT_FALSE(isAllowedPair(1, 38));
    EXPECT_FALSE(isAllowedPair(64, 1));
    // The eight overlapping pairs hold in one order only.
    const std::vector<std::pair<int, int>> oneWay = {{9, 41},  {11, 38}, {12, 36}, {14, 43},
                                                     {16, 46}, {17, 54}, {19, 51}, {20, 49}};
    for (auto [existing, added] : oneWay) {
        EXPECT_TRUE(isAllowedPair(static_cast<uint8_t>(existing), static_cast<uint8_t>(added)));
        EXPECT_FALSE(isAllowedPair(static_cast<uint8_t>(added), static_cast<uint8_t>(existing)));
    }
    // Each two-triangle sum accepts only the shape that completes its cell.
    int sumPairs = 0;
    for (const CodePair& pair : allowedPairs)
        if (std::set<int>{10, 13, 15, 18, 21, 23, 26, 28}.count(pair.existing)) {
            ++sumPairs;
            EXPECT_EQ(pair.existing + pair.added, 64);
        }
    EXPECT_EQ(sumPairs, 8);
}

TEST(AllowedPairs, LookupAgreesWithTheListForEveryByte)
{
    std::set<std::pair<int, int>> listed;
    for (const CodePair& pair : allowedPairs)
        listed.insert({pair.existing, pair.added});
    for (int e = 0; e < 256; ++e)
        for (int a = 0; a < 256; ++a)
            ASSERT_EQ(isAllowedPair(static_cast<uint8_t>(e), static_cast<uint8_t>(a)), listed.count({e, a}) == 1);
}
