// Catalogue checks. A record is checked in stages; a stage that fails stops
// the later ones, whose messages would only repeat the first fault.
#include "tools/catalogue/validator.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "engine/board.h"
#include "engine/catalogue.h"
#include "engine/orientation_table.h"
#include "engine/silhouette.h"
#include "tools/catalogue/likeness.h"

namespace quellon::catalogue {

namespace {

struct Part {
    int piece;  // 1..8
    uint8_t code;
};

// The first order of the parts of one cell that the fit test refuses, as
// "piece a after piece b"; empty when every order passes.
std::string refusedOrder(std::vector<Part> parts)
{
    std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.piece < b.piece; });
    do {
        uint8_t sum = 0;
        for (size_t k = 0; k < parts.size(); ++k) {
            if (sum != 0 && !isAllowedPair(sum, parts[k].code)) {
                std::string laid;
                for (size_t before = 0; before < k; ++before)
                    laid += (before ? " and " : "") + std::to_string(parts[before].piece);
                return "piece " + std::to_string(parts[k].piece) + " after piece" + (k > 1 ? "s " : " ") + laid;
            }
            sum = static_cast<uint8_t>(sum + parts[k].code);
        }
    } while (std::next_permutation(parts.begin(), parts.end(),
                                   [](const Part& a, const Part& b) { return a.piece < b.piece; }));
    return {};
}

std::string joinPieces(const std::vector<int>& pieces)
{
    std::string text;
    for (int n : pieces)
        text += (text.empty() ? "" : " ") + std::to_string(n + 1);
    return text;
}

}  // namespace

std::vector<PuzzleRecord> recordsOf(const std::vector<uint8_t>& bytes)
{
    std::vector<PuzzleRecord> records(bytes.size() / kRecordSize);
    for (size_t n = 0; n < records.size(); ++n)
        for (size_t k = 0; k < kPieceCount; ++k) {
            const uint8_t* data = bytes.data() + n * kRecordSize + 3 * k;
            records[n].pieces[k] = PieceState{data[0], data[1], data[2]};
        }
    return records;
}

std::vector<uint8_t> bytesOf(const std::vector<PuzzleRecord>& records)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const PuzzleRecord& record : records)
        for (const PieceState& piece : record.pieces) {
            bytes.push_back(piece.x);
            bytes.push_back(piece.y);
            bytes.push_back(piece.orientation);
        }
    return bytes;
}

std::vector<std::string> recordProblems(const PuzzleRecord& record)
{
    std::vector<std::string> problems;
    const Board empty;
    for (int k = 0; k < kPieceCount; ++k) {
        const PieceState& piece = record.pieces[static_cast<size_t>(k)];
        const std::string name = "piece " + std::to_string(k + 1);
        if (piece.orientation >= kOrientationCount)
            problems.push_back(name + " has orientation " + std::to_string(piece.orientation) + " (0..15 allowed)");
        else if (!empty.inBounds(piece.x, piece.y, piece.orientation))
            problems.push_back(name + " at (" + std::to_string(piece.x) + ", " + std::to_string(piece.y) +
                               ") leaves the board");
    }
    if (!problems.empty())
        return problems;  // nothing more can be stamped safely

    for (int k = 0; k < kPieceCount; ++k) {
        const PieceState& piece = record.pieces[static_cast<size_t>(k)];
        const int left = piece.x + boundsMinX[piece.orientation];
        const int right = piece.x + boundsMaxX[piece.orientation];
        if (left < kFirstFreeColumn || right > kLastFreeColumn)
            problems.push_back("piece " + std::to_string(k + 1) + " covers columns " + std::to_string(left) + ".." +
                               std::to_string(right) + ", reaching into the parking columns (free: 16..73)");
    }

    // Laid in the record's own order, as help lays them.
    Board board;
    for (int k = 1; k <= kPieceCount; ++k) {
        board.piece(k) = record.pieces[static_cast<size_t>(k - 1)];
        const PieceState& piece = board.piece(k);
        if (!board.fitsBoard(piece.x, piece.y, piece.orientation)) {
            problems.push_back("piece " + std::to_string(k) + " does not fit beside the pieces laid before it");
            return problems;
        }
        board.stampPiece(k);
    }

    // Any order a player may choose: each shared cell must accept its parts
    // in every order, because some pairs fit one way round only.
    std::map<std::pair<int, int>, std::vector<Part>> cells;
    for (int k = 0; k < kPieceCount; ++k) {
        const PieceState& piece = record.pieces[static_cast<size_t>(k)];
        const int o = piece.orientation;
        for (int i = boundsMinX[o]; i <= boundsMaxX[o]; ++i)
            for (int j = boundsMinY[o]; j <= boundsMaxY[o]; ++j)
                if (const uint8_t code = cellCode(o, i, j); code != 0)
                    cells[{piece.x + i, piece.y + j}].push_back({k + 1, code});
    }
    std::set<std::string> reported;
    for (const auto& [cell, parts] : cells) {
        if (parts.size() < 2)
            continue;
        const std::string order = refusedOrder(parts);
        if (!order.empty() && reported.insert(order).second)
            problems.push_back("cannot be built in every order: cell (" + std::to_string(cell.first) + ", " +
                               std::to_string(cell.second) + ") refuses " + order);
    }
    if (!reported.empty())
        return problems;

    const std::vector<std::vector<int>> groups = edgeConnectedGroups(figureOf(record));
    if (groups.size() > 1) {
        std::string text = "the silhouette falls apart into " + std::to_string(groups.size()) +
                           " parts not joined along an edge: pieces ";
        for (size_t g = 0; g < groups.size(); ++g)
            text += (g ? " | " : "") + joinPieces(groups[g]);
        problems.push_back(text);
    }
    return problems;
}

std::string repeatText(double overlap, const std::string& earlier)
{
    char measured[16];
    std::snprintf(measured, sizeof measured, "%.3f", overlap);
    if (overlap >= kSameOverlap)
        return "the same silhouette as " + earlier + " (shifted, turned, tilted or mirrored; overlap " + measured + ")";
    return "nearly the same silhouette as " + earlier + " (overlap " + measured +
           " after the best shift, turn, tilt or mirror; a near-repeat)";
}

std::vector<std::string> catalogueProblems(const std::vector<uint8_t>& bytes)
{
    std::vector<std::string> problems;
    if (bytes.empty()) {
        problems.push_back("the file is empty: it holds no Quellon");
        return problems;
    }
    if (bytes.size() < static_cast<size_t>(kRecordSize)) {
        problems.push_back("the file is " + std::to_string(bytes.size()) +
                           " bytes long and holds no whole record of 24 bytes");
        return problems;
    }
    if (const size_t rest = bytes.size() % kRecordSize; rest != 0)
        problems.push_back(std::to_string(rest) + " trailing bytes after the last whole record (the length " +
                           std::to_string(bytes.size()) + " is not a multiple of 24)");
    std::vector<PuzzleRecord> records = recordsOf(bytes);
    if (records.size() > static_cast<size_t>(kMaxQuellons)) {
        problems.push_back("the file holds " + std::to_string(records.size()) + " records; only the first " +
                           std::to_string(kMaxQuellons) + " are read");
        records.resize(kMaxQuellons);
    }

    std::vector<Figure> stamped;  // the records on the board, for the comparison
    std::vector<int> numbers;
    for (size_t n = 0; n < records.size(); ++n) {
        const std::string prefix = "Quellon " + std::to_string(n + 1) + ": ";
        const std::vector<std::string> own = recordProblems(records[n]);
        for (const std::string& problem : own)
            problems.push_back(prefix + problem);
        // A record off the board cannot be stamped for the comparison.
        if (!recordOnBoard(records[n]))
            continue;
        stamped.push_back(figureOf(records[n]));
        numbers.push_back(static_cast<int>(n + 1));
    }
    // Repeats go after the records' own problems, in the order of the file.
    for (const Repeat& repeat : findRepeats(stamped))
        problems.push_back(
            "Quellon " + std::to_string(numbers[static_cast<size_t>(repeat.later)]) + ": " +
            repeatText(repeat.overlap, "Quellon " + std::to_string(numbers[static_cast<size_t>(repeat.earlier)])));
    return problems;
}

}  // namespace quellon::catalogue
