#include "engine/selection.h"

#include <algorithm>

#include "engine/game_data.h"

namespace quellon {

int sliderMaximum(int quellonCount) { return std::max(1, quellonCount - (kSelectPageSize - 1)); }

int sliderValueFor(int quellonCount, int current)
{
    return std::clamp(sliderMaximum(quellonCount) - current + 1, 1, sliderMaximum(quellonCount));
}

int firstOnPage(int quellonCount, int value)
{
    const int maximum = sliderMaximum(quellonCount);
    return maximum - std::clamp(value, 1, maximum) + 1;
}

std::optional<int> quellonInCell(int quellonCount, int first, int cell)
{
    if (cell < 0 || cell >= kSelectPageSize)
        return std::nullopt;
    const int n = first + cell;
    if (n < 1 || n > quellonCount)
        return std::nullopt;
    return n;
}

std::optional<int> cellAt(int x, int y)
{
    if (x < 0 || y < 0)
        return std::nullopt;
    const int column = x / kSelectCellPitchX;
    const int row = y / kSelectCellPitchY;
    if (column >= kSelectColumns || row >= kSelectRows)
        return std::nullopt;
    return column + kSelectColumns * row;
}

std::optional<int> quellonAt(int quellonCount, int first, int x, int y)
{
    const std::optional<int> cell = cellAt(x, y);
    if (!cell)
        return std::nullopt;
    return quellonInCell(quellonCount, first, *cell);
}

std::optional<int> faceOffset(uint8_t progress)
{
    if (!isFinished(progress))
        return std::nullopt;
    return (kDroppedLevel - helpLevel(progress)) * kFaceSize;
}

}  // namespace quellon
