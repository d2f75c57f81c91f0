// Figures composed by hand, read from a text file under data/figures/. The
// format is documented in figures_file.cpp, where it is read.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/game_data.h"

namespace quellon::catalogue {

struct HandFigure {
    std::string id;  // short key, unique in the file
    std::string nameEnglish;
    std::string nameGerman;
    std::string family;    // people, animals, buildings, ...
    bool opening = false;  // named at once by every namer: fit for the catalogue's opening
    PuzzleRecord record;   // centred on the board, as the catalogue stores it
    int line = 0;          // where the figure starts in its file
};

// A file that cannot be read or parsed; the message names the file, the line
// and the figure.
struct FiguresFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The figures of the file in the order they stand there. Throws
// FiguresFileError on bad input.
std::vector<HandFigure> readFigures(const std::string& path);

}  // namespace quellon::catalogue
