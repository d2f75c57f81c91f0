// Geometry of a whole figure of eight pieces. The corners are lattice points,
// so every test here runs on integers and is exact; only the shared edge
// length is a real number.
#include "engine/silhouette.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

#include "engine/orientation_table.h"

namespace quellon {

namespace {

long long cross(Point a, Point b) { return static_cast<long long>(a.x) * b.y - static_cast<long long>(a.y) * b.x; }
long long dot(Point a, Point b) { return static_cast<long long>(a.x) * b.x + static_cast<long long>(a.y) * b.y; }
Point minus(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }

// Corners in one winding direction, so that two pieces lying side by side
// run along their common line in opposite directions.
std::array<Point, 3> woundCorners(const PiecePlace& piece)
{
    std::array<Point, 3> c = pieceCorners(piece);
    if (cross(minus(c[1], c[0]), minus(c[2], c[0])) < 0)
        std::swap(c[1], c[2]);
    return c;
}

std::string imageKey(const CodeImage& image)
{
    std::string key;
    key.reserve(4 + image.codes.size());
    key.push_back(static_cast<char>(image.width >> 8));
    key.push_back(static_cast<char>(image.width & 255));
    key.push_back(static_cast<char>(image.height >> 8));
    key.push_back(static_cast<char>(image.height & 255));
    key.append(image.codes.begin(), image.codes.end());
    return key;
}

int findRoot(std::array<int, kPieceCount>& parent, int n)
{
    while (parent[static_cast<size_t>(n)] != n)
        n = parent[static_cast<size_t>(n)] = parent[static_cast<size_t>(parent[static_cast<size_t>(n)])];
    return n;
}

}  // namespace

Figure figureOf(const PuzzleRecord& record)
{
    Figure figure;
    for (size_t k = 0; k < figure.size(); ++k)
        figure[k] = {record.pieces[k].x, record.pieces[k].y, record.pieces[k].orientation};
    return figure;
}

Figure turnFigure(const Figure& figure)
{
    Figure turned;
    for (size_t k = 0; k < figure.size(); ++k)
        turned[k] = {-figure[k].y, figure[k].x, (figure[k].orientation + 4) % kOrientationCount};
    return turned;
}

Figure mirrorFigure(const Figure& figure)
{
    Figure mirrored;
    for (size_t k = 0; k < figure.size(); ++k)
        mirrored[k] = {figure[k].y, figure[k].x, (kOrientationCount - figure[k].orientation) % kOrientationCount};
    return mirrored;
}

std::array<Point, 3> pieceCorners(const PiecePlace& piece)
{
    const int o = piece.orientation;
    std::array<Point, 3> corners;
    for (int k = 0; k < 3; ++k)
        corners[static_cast<size_t>(k)] = {piece.x + vertexX[static_cast<size_t>(k * kOrientationCount + o)],
                                           piece.y + vertexY[static_cast<size_t>(k * kOrientationCount + o)]};
    return corners;
}

int doubledPieceArea(const PiecePlace& piece)
{
    const std::array<Point, 3> c = pieceCorners(piece);
    return static_cast<int>(std::llabs(cross(minus(c[1], c[0]), minus(c[2], c[0]))));
}

double sharedEdgeLength(const PiecePlace& a, const PiecePlace& b)
{
    const std::array<Point, 3> ca = woundCorners(a);
    const std::array<Point, 3> cb = woundCorners(b);
    double total = 0.0;
    for (size_t i = 0; i < 3; ++i) {
        const Point p0 = ca[i];
        const Point d = minus(ca[(i + 1) % 3], p0);
        const double squaredLength = static_cast<double>(dot(d, d));
        for (size_t j = 0; j < 3; ++j) {
            const Point q0 = cb[j];
            const Point q1 = cb[(j + 1) % 3];
            const Point g = minus(q1, q0);
            if (cross(d, g) != 0 || dot(d, g) >= 0 || cross(d, minus(q0, p0)) != 0)
                continue;
            const double t0 = static_cast<double>(dot(minus(q0, p0), d)) / squaredLength;
            const double t1 = static_cast<double>(dot(minus(q1, p0), d)) / squaredLength;
            const double low = std::max(0.0, std::min(t0, t1));
            const double high = std::min(1.0, std::max(t0, t1));
            if (high > low)
                total += (high - low) * std::sqrt(squaredLength);
        }
    }
    return total;
}

bool trianglesOverlap(const PiecePlace& a, const PiecePlace& b)
{
    const std::array<Point, 3> ca = pieceCorners(a);
    const std::array<Point, 3> cb = pieceCorners(b);
    // Separating axes: the normals of the six edges suffice for two triangles.
    for (int side = 0; side < 2; ++side) {
        const std::array<Point, 3>& c = side == 0 ? ca : cb;
        for (size_t i = 0; i < 3; ++i) {
            const Point edge = minus(c[(i + 1) % 3], c[i]);
            const Point normal{-edge.y, edge.x};
            long long minA = LLONG_MAX, maxA = LLONG_MIN, minB = LLONG_MAX, maxB = LLONG_MIN;
            for (size_t k = 0; k < 3; ++k) {
                const long long pa = dot(ca[k], normal);
                const long long pb = dot(cb[k], normal);
                minA = std::min(minA, pa);
                maxA = std::max(maxA, pa);
                minB = std::min(minB, pb);
                maxB = std::max(maxB, pb);
            }
            if (maxA <= minB || maxB <= minA)
                return false;
        }
    }
    return true;
}

CodeImage stampFigure(const Figure& figure)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const PiecePlace& piece : figure) {
        const int o = piece.orientation;
        left = std::min(left, piece.x + boundsMinX[static_cast<size_t>(o)]);
        right = std::max(right, piece.x + boundsMaxX[static_cast<size_t>(o)]);
        top = std::min(top, piece.y + boundsMinY[static_cast<size_t>(o)]);
        bottom = std::max(bottom, piece.y + boundsMaxY[static_cast<size_t>(o)]);
    }
    CodeImage image;
    image.left = left;
    image.top = top;
    image.width = right - left + 1;
    image.height = bottom - top + 1;
    image.codes.assign(static_cast<size_t>(image.width * image.height), 0);
    for (const PiecePlace& piece : figure) {
        const int o = piece.orientation;
        for (int i = boundsMinX[static_cast<size_t>(o)]; i <= boundsMaxX[static_cast<size_t>(o)]; ++i) {
            for (int j = boundsMinY[static_cast<size_t>(o)]; j <= boundsMaxY[static_cast<size_t>(o)]; ++j) {
                uint8_t& cell =
                    image.codes[static_cast<size_t>((piece.y + j - top) * image.width + (piece.x + i - left))];
                cell = static_cast<uint8_t>(cell + cellCode(o, i, j));
            }
        }
    }
    return image;
}

std::string silhouetteKey(const Figure& figure)
{
    std::string best;
    Figure turned = figure;
    for (int mirror = 0; mirror < 2; ++mirror) {
        for (int turn = 0; turn < 4; ++turn) {
            std::string key = imageKey(stampFigure(turned));
            if (best.empty() || key < best)
                best = std::move(key);
            turned = turnFigure(turned);
        }
        turned = mirrorFigure(figure);
    }
    return best;
}

std::vector<std::vector<int>> edgeConnectedGroups(const Figure& figure)
{
    std::array<int, kPieceCount> parent;
    std::iota(parent.begin(), parent.end(), 0);
    for (int a = 0; a < kPieceCount; ++a)
        for (int b = a + 1; b < kPieceCount; ++b)
            if (sharedEdgeLength(figure[static_cast<size_t>(a)], figure[static_cast<size_t>(b)]) > 0.0)
                parent[static_cast<size_t>(findRoot(parent, a))] = findRoot(parent, b);
    std::vector<std::vector<int>> groups;
    std::array<int, kPieceCount> groupOfRoot;
    groupOfRoot.fill(-1);
    for (int n = 0; n < kPieceCount; ++n) {
        const int root = findRoot(parent, n);
        int& group = groupOfRoot[static_cast<size_t>(root)];
        if (group < 0) {
            group = static_cast<int>(groups.size());
            groups.emplace_back();
        }
        groups[static_cast<size_t>(group)].push_back(n);
    }
    return groups;
}

bool cellAcceptsEveryOrder(std::span<const uint8_t> codes)
{
    // A cell has room for a handful of parts at most; more cannot all fit.
    constexpr size_t kMostParts = 8;
    std::array<uint8_t, kMostParts> order{};
    size_t count = 0;
    for (uint8_t code : codes) {
        if (code == 0)
            continue;
        if (count == kMostParts)
            return false;
        order[count++] = code;
    }
    if (count < 2)
        return true;
    if (count == 2)
        return isAllowedPair(order[0], order[1]) && isAllowedPair(order[1], order[0]);
    // Insertion sort: at most eight parts, and std::sort on this short array
    // trips a false out-of-bounds warning of GCC 12 at -O2.
    for (size_t k = 1; k < count; ++k)
        for (size_t m = k; m > 0 && order[m - 1] > order[m]; --m)
            std::swap(order[m - 1], order[m]);
    do {
        uint8_t sum = 0;
        for (size_t k = 0; k < count; ++k) {
            const uint8_t code = order[k];
            if (sum != 0 && !isAllowedPair(sum, code))
                return false;
            sum = static_cast<uint8_t>(sum + code);
        }
    } while (std::next_permutation(order.begin(), order.begin() + static_cast<long>(count)));
    return true;
}

}  // namespace quellon
