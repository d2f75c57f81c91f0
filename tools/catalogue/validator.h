// Checks a catalogue file: whole records, at most 950 of them, every piece on
// the board and clear of the parking columns, the pieces legal together in
// every order of laying them down, one connected silhouette per Quellon, and
// no two Quellons alike or nearly alike up to shift, turns, tilts and
// mirroring (likeness.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/game_data.h"

namespace quellon::catalogue {

// Columns a solution may cover: the parked pieces fill 2..15 and 74..87.
constexpr int kFirstFreeColumn = 16;
constexpr int kLastFreeColumn = 73;

// The whole 24-byte records of the bytes, however many there are.
std::vector<PuzzleRecord> recordsOf(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> bytesOf(const std::vector<PuzzleRecord>& records);

// Problems of one record, each a short sentence without the Quellon number.
std::vector<std::string> recordProblems(const PuzzleRecord& record);

// The problem of a silhouette that repeats `earlier` ("Quellon 12", "figure
// house") with the overlap of the best alignment: the same one, or nearly.
std::string repeatText(double overlap, const std::string& earlier);

// Every problem of a catalogue, one line each: "Quellon 12: ..." for a record,
// no prefix for the file as a whole. Empty when the catalogue is clean.
std::vector<std::string> catalogueProblems(const std::vector<uint8_t>& bytes);

}  // namespace quellon::catalogue
