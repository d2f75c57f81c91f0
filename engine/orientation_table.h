// The one triangular piece in its sixteen orientations: corners for drawing
// and hit tests, coverage codes per cell for the board logic, and the code
// pairs that may share a cell. Constant data; nothing here changes at run time.
#pragma once

#include <array>
#include <cstdint>

namespace quellon {

constexpr int kOrientationCount = 16;
constexpr int kCellSpan = 14;         // cell offsets -7..6 in each direction
constexpr int kCellOffsetOrigin = 7;  // index of offset 0 in a 14-cell span
constexpr int kCellsPerOrientation = kCellSpan * kCellSpan;
constexpr int kAllowedPairCount = 300;
constexpr uint8_t kFullCell = 64;

// Corner k (0..2) of orientation o is (vertexX[k * 16 + o], vertexY[k * 16 + o]);
// corner 1 is the right angle.
extern const std::array<int8_t, 3 * kOrientationCount> vertexX;
extern const std::array<int8_t, 3 * kOrientationCount> vertexY;

// Smallest and largest cell offsets that carry a non-zero code.
extern const std::array<int8_t, kOrientationCount> boundsMinX;
extern const std::array<int8_t, kOrientationCount> boundsMinY;
extern const std::array<int8_t, kOrientationCount> boundsMaxX;
extern const std::array<int8_t, kOrientationCount> boundsMaxY;

// Entry [o * 196 + (j + 7) * 14 + (i + 7)] is the code of cell offset (i, j).
extern const std::array<uint8_t, kOrientationCount * kCellsPerOrientation> cellCodes;

struct CodePair {
    uint8_t existing;
    uint8_t added;
};
// The 300 pairs in ascending order of existing, then added.
extern const std::array<CodePair, kAllowedPairCount> allowedPairs;

// Code of cell offset (i, j), i and j in -7..6, in orientation o.
inline uint8_t cellCode(int o, int i, int j)
{
    return cellCodes[o * kCellsPerOrientation + (j + kCellOffsetOrigin) * kCellSpan + (i + kCellOffsetOrigin)];
}

// True when a cell holding `existing` may receive a piece part of code `added`.
bool isAllowedPair(uint8_t existing, uint8_t added);

}  // namespace quellon
