// Paging and picking in the picture selection of a Quellon: sixteen cells,
// four by four, a vertical slider whose top end is the first page, and the
// rule that turns a click into a Quellon number.
#pragma once

#include <cstdint>
#include <optional>

namespace quellon {

constexpr int kSelectPageSize = 16;
constexpr int kSelectColumns = 4;
constexpr int kSelectRows = 4;
constexpr int kSelectCellPitchX = 100;  // frame 90 px plus a 10 px gap
constexpr int kSelectCellPitchY = 85;   // frame 75 px plus a 10 px gap
constexpr int kSelectFrameWidth = 90;
constexpr int kSelectFrameHeight = 75;
constexpr int kSelectNumberStrip = 15;  // the silhouette starts below the number
constexpr int kSelectLineStep = 4;      // one row of cells
constexpr int kSelectPageStep = 16;     // one page
constexpr int kFaceSize = 15;           // a face of the 75 x 15 strip

// The slider runs from 1 to sliderMaximum; its top end is the maximum and
// shows the first page. A catalogue of sixteen or fewer Quellons has a single
// page, so the maximum never drops below 1.
int sliderMaximum(int quellonCount);

// The value that opens the page at `current`, or the last page when the
// current Quellon is among the last fifteen.
int sliderValueFor(int quellonCount, int current);

// The first Quellon of the page the slider value shows.
int firstOnPage(int quellonCount, int value);

// The Quellon of cell 0..15 on the page starting at `first`, or nothing when
// the cell lies past the end of the catalogue.
std::optional<int> quellonInCell(int quellonCount, int first, int cell);

// The cell a click at (x, y) of the page area picks; the gap right of and
// below a frame belongs to that frame. Nothing outside the 4 x 4 cells.
std::optional<int> cellAt(int x, int y);

// The Quellon a click picks: only a cell that shows a Quellon counts.
std::optional<int> quellonAt(int quellonCount, int first, int x, int y);

// Left edge in the face strip of the face for a progress byte, or nothing for
// an open Quellon (which shows no face).
std::optional<int> faceOffset(uint8_t progress);

}  // namespace quellon
