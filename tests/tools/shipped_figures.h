// The figures of data/figures as records, for tests that need real
// recognisable Quellons, and their known twins: looked up by id, so the
// files' order may change.
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

// The twins taken out of the figures file: a letter's tilted italic, the
// square on the diagonal grid, ... (data/figures/twins.txt).
inline const std::vector<HandFigure>& twinFigures()
{
    static const std::vector<HandFigure> figures = readFigures(QUELLON_TWINS_FILE);
    return figures;
}

// The figures a naming round did not confirm (data/figures/unconfirmed.txt):
// no longer in the catalogue, still real drawn shapes.
inline const std::vector<HandFigure>& unconfirmedFigures()
{
    static const std::vector<HandFigure> figures = readFigures(QUELLON_UNCONFIRMED_FILE);
    return figures;
}

// A figure of the figures file, the twins' file or the unconfirmed ones.
inline PuzzleRecord shippedFigure(const std::string& id)
{
    for (const auto* file : {&shippedFigures(), &twinFigures(), &unconfirmedFigures()})
        for (const HandFigure& figure : *file)
            if (figure.id == id)
                return figure.record;
    throw std::invalid_argument("no figure " + id + " in " + QUELLON_FIGURES_FILE + ", " + QUELLON_TWINS_FILE + " or " +
                                QUELLON_UNCONFIRMED_FILE);
}

}  // namespace quellon::catalogue
