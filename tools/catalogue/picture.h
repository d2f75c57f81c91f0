// Pictures of a Quellon for a person to judge: text for the terminal and a
// PNG of the board area the pattern window shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/game_data.h"

namespace quellon::catalogue {

// The silhouette as text, two characters per cell: '#' covered, '+' mostly
// covered, '.' partly covered; with the board rows and columns it spans.
std::string textPicture(const PuzzleRecord& record);

enum class PictureStyle {
    Pieces,      // silver ground, black pieces with their edges in grey
    Silhouette,  // white ground, the figure in black without piece edges
};

// Grey-scale PNG of the board (90 x 60 grid units at `scale` pixels each).
std::vector<uint8_t> pngPicture(const PuzzleRecord& record, int scale, PictureStyle style = PictureStyle::Pieces);

// A minimal PNG encoder (8-bit grey, stored deflate blocks).
std::vector<uint8_t> encodeGreyPng(int width, int height, const std::vector<uint8_t>& pixels);

}  // namespace quellon::catalogue
