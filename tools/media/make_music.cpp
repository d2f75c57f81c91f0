// Writes the game's background music as Standard MIDI Files (format 1,
// General MIDI instruments): the six pieces of pieces.cpp, composed from
// sections and a plan by composer.cpp.
//
// Usage: make_music [--short] <output directory>
// The files are named "<n> <title>.mid"; the number fixes the order in which
// the game plays them, and the name is what the options dialog shows.
// --short writes each piece cut to its first bar and closing chord at twice
// the tempo, a few seconds long: for tests that wait for pieces to end.

#include "composer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

int main(int argc, char** argv)
{
    using namespace quellon::media;
    const bool shortened = argc == 3 && std::string(argv[1]) == "--short";
    if (argc != 2 && !shortened) {
        std::cerr << "usage: make_music [--short] <output directory>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[argc - 1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    try {
        for (Piece piece : allPieces()) {
            if (shortened) {
                piece.plan.resize(1);
                piece.plan[0].section = -1;
                piece.plan[0].chords.resize(1);
                piece.quartersPerMinute *= 2;
            }
            const Composition music = compose(piece);
            std::ofstream out(dir / piece.file, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(music.file.data()),
                      static_cast<std::streamsize>(music.file.size()));
            if (!out)
                throw std::runtime_error("cannot write " + (dir / piece.file).string());
            std::printf("%s: %d bars, %d:%02d\n", piece.file.c_str(), music.bars, static_cast<int>(music.seconds) / 60,
                        static_cast<int>(music.seconds) % 60);
        }
    } catch (const std::exception& e) {
        std::cerr << "make_music: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
