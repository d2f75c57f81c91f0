// Figures composed by hand that open the catalogue.
#include "tools/catalogue/generator.h"

namespace quellon::catalogue {

std::vector<PuzzleRecord> handFigures()
{
    return {};
}

} // namespace quellon::catalogue
