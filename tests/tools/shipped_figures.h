// The figures of data/figures as records, for tests that need real
// recognisable Quellons: looked up by id, so the file's order may change.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "tools/catalogue/figures_file.h"

namespace quellon::catalogue {

inline const std::vector<HandFigure>& shippedFigures()
{
    static const std::vector<HandFigure> figures = readFigures(QUELLON_FIGURES_FILE);
    return figures;
}

inline PuzzleRecord shippedFigure(const std::string& id)
{
    for (const HandFigure& figure : shippedFigures())
        if (figure.id == id)
            return figure.record;
    throw std::invalid_argument("no figure " + id + " in " + QUELLON_FIGURES_FILE);
}

}  // namespace quellon::catalogue
