// Reads the figures composed by hand. The file is text, one statement a line;
// '#' starts a comment, blank lines are ignored, words are separated by
// blanks:
//
//   figure house          starts a figure; the id is one word, unique in the file
//   en House              English name (the rest of the line)
//   de Haus               German name (the rest of the line)
//   family buildings      one word
//   opening               optional: every namer of its round named it at
//                         once, and it may open the catalogue
//   tilt right            optional, before the pieces: see below
//   square 0 10           a whole 10 x 10 square, two pieces (its lower-right
//                         and upper-left halves); (x, y) is its top-left
//                         lattice point
//   half lr 0 0           one piece: the lower-right half of the square at
//                         (0, 0); also ll, ul and ur
//   raw 23 14 5           one piece: anchor x, y and orientation 0..15
//   end                   closes the figure: exactly eight pieces, both names
//                         and the family given
//
// Coordinates are whole numbers, negative ones too, in cells of one frame per
// figure; the figure is centred on the board, so only their differences
// matter. Halves are the even orientations with their legs along the square:
// lr is anchored at (x + 7, y + 7) with orientation 0, ll at (x + 3, y + 7)
// with 4, ul at (x + 3, y + 3) with 8 and ur at (x + 7, y + 3) with 12.
//
// "tilt right" (or "left") lays the squares and halves of the figure on the
// grid turned by a sixteenth clockwise (anticlockwise): each half becomes the
// odd orientation one after (before) its even one. "tilt diagonal" turns
// them by an eighth clockwise, to the orientations two after. On a turned
// grid the coordinates count lattice steps along a leg, so that every point
// is a lattice point: a tilted leg is 3 steps of (3, 1), a diagonal leg 7
// steps of (1, 1). A square is thus 3 (7) wide there, and point (x, y) lies
// at x * (3, 1) + y * (-1, 3) cells for right, x * (3, -1) + y * (1, 3) for
// left and x * (1, 1) + y * (-1, 1) for diagonal. Raw pieces are never
// turned. Pieces of odd and even orientations cannot share an edge, so a
// joined figure is tilted right or left as a whole or not at all.
//
// Bad input (an unknown word, a missing name or family, a wrong piece count,
// a bad number, a repeated id, a figure left open) throws FiguresFileError
// with "file:line: figure id: what is wrong"; the file is read whole or not
// at all. Whether the pieces make a valid Quellon is left to the checks of
// the figures command, which can report every fault at once.
#include "tools/catalogue/figures_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "engine/orientation_table.h"
#include "engine/silhouette.h"
#include "tools/catalogue/generator.h"

namespace quellon::catalogue {

namespace {

// Where the smallest corner lands before the figure is centred; keeps the
// anchors of the byte-sized record positive.
constexpr int kMargin = 20;
// A wider figure could not be held in the record's bytes (margin, spread and
// a piece's reach stay below 256); the board is far narrower anyway.
constexpr int kLargestSpread = 200;
constexpr int kSquareSide = 10;

struct HalfKind {
    const char* name;
    int cornerX;  // the right-angle corner, from the square's top-left point
    int cornerY;
    int orientation;
};

// The four halves as the even orientations with axis-parallel legs.
constexpr HalfKind kHalves[] = {
    {"lr", 10, 10, 0},
    {"ll", 0, 10, 4},
    {"ul", 0, 0, 8},
    {"ur", 10, 0, 12},
};

enum class Tilt { None, Right, Left, Diagonal };  // indexes the grids in halfPiece

class Reader {
public:
    Reader(std::string path, int line, std::string id) : path_(std::move(path)), line_(line), id_(std::move(id)) {}

    [[noreturn]] void fail(const std::string& what) const
    {
        std::string text = path_ + ":" + std::to_string(line_) + ": ";
        if (!id_.empty())
            text += "figure " + id_ + ": ";
        throw FiguresFileError(text + what);
    }

    int number(const std::string& word, const char* what, int low, int high) const
    {
        int value = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size() || value < low || value > high)
            fail(std::string(what) + " must be a whole number in " + std::to_string(low) + ".." + std::to_string(high) +
                 ", not \"" + word + "\"");
        return value;
    }

    void setLine(int line) { line_ = line; }
    void setId(std::string id) { id_ = std::move(id); }

private:
    std::string path_;
    int line_;
    std::string id_;
};

// Coordinates are kept far inside int so that sums and turns cannot overflow.
constexpr int kCoordinateLimit = 1000;

// The right-angle corner and orientation of a half, on the plain or turned
// grid, as the anchor the piece stands on.
PiecePlace halfPiece(const HalfKind& kind, int x, int y, Tilt tilt)
{
    struct Grid {
        int stepsPerLeg;
        Point alongX;  // one step along the turned x axis, in cells
        Point alongY;
        int orientationStep;
    };
    static constexpr Grid kGrids[] = {
        {10, {1, 0}, {0, 1}, 0},   // None
        {3, {3, 1}, {-1, 3}, 1},   // Right
        {3, {3, -1}, {1, 3}, -1},  // Left
        {7, {1, 1}, {-1, 1}, 2},   // Diagonal
    };
    const Grid& grid = kGrids[static_cast<size_t>(tilt)];
    // The corner in steps of the grid: the square's corners are a leg apart.
    const int stepsX = x + kind.cornerX / kSquareSide * grid.stepsPerLeg;
    const int stepsY = y + kind.cornerY / kSquareSide * grid.stepsPerLeg;
    const int cornerX = stepsX * grid.alongX.x + stepsY * grid.alongY.x;
    const int cornerY = stepsX * grid.alongX.y + stepsY * grid.alongY.y;
    const int orientation = (kind.orientation + grid.orientationStep + kOrientationCount) % kOrientationCount;
    const size_t rightAngle = static_cast<size_t>(kOrientationCount + orientation);  // corner 1
    return {cornerX - vertexX[rightAngle], cornerY - vertexY[rightAngle], orientation};
}

const HalfKind* halfKind(const std::string& name)
{
    for (const HalfKind& kind : kHalves)
        if (name == kind.name)
            return &kind;
    return nullptr;
}

std::vector<std::string> wordsOf(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The rest of the line after the keyword, trimmed.
std::string restOf(const std::string& line, const std::string& keyword)
{
    std::string rest = line.substr(line.find(keyword) + keyword.size());
    const size_t first = rest.find_first_not_of(" \t");
    const size_t last = rest.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : rest.substr(first, last - first + 1);
}

struct OpenFigure {
    HandFigure figure;
    std::vector<PiecePlace> pieces;
    Tilt tilt = Tilt::None;
    bool tiltGiven = false;
};

// Shifts the pieces so that the smallest corner lies at the margin, then
// centres the record on the board.
PuzzleRecord recordOf(const Reader& reader, const std::vector<PiecePlace>& pieces)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const PiecePlace& piece : pieces)
        for (const Point& corner : pieceCorners(piece)) {
            left = std::min(left, corner.x);
            top = std::min(top, corner.y);
            right = std::max(right, corner.x);
            bottom = std::max(bottom, corner.y);
        }
    if (right - left > kLargestSpread || bottom - top > kLargestSpread)
        reader.fail("the pieces spread over " + std::to_string(right - left) + " x " + std::to_string(bottom - top) +
                    " cells, far more than the board");
    PuzzleRecord record;
    for (size_t k = 0; k < pieces.size(); ++k)
        record.pieces[k] =
            PieceState{static_cast<uint8_t>(pieces[k].x - left + kMargin),
                       static_cast<uint8_t>(pieces[k].y - top + kMargin), static_cast<uint8_t>(pieces[k].orientation)};
    return centredOnBoard(record);
}

void closeFigure(const Reader& reader, OpenFigure& open)
{
    if (open.figure.nameEnglish.empty())
        reader.fail("has no English name (en)");
    if (open.figure.nameGerman.empty())
        reader.fail("has no German name (de)");
    if (open.figure.family.empty())
        reader.fail("has no family");
    if (open.pieces.size() != static_cast<size_t>(kPieceCount))
        reader.fail("has " + std::to_string(open.pieces.size()) + " pieces; a Quellon has exactly 8");
    open.figure.record = recordOf(reader, open.pieces);
}

}  // namespace

std::vector<HandFigure> readFigures(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw FiguresFileError(path + ": cannot be opened");

    std::vector<HandFigure> figures;
    std::set<std::string> ids;
    std::optional<OpenFigure> open;
    Reader reader(path, 0, "");
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        reader.setLine(lineNumber);
        if (const size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        const std::vector<std::string> words = wordsOf(line);
        if (words.empty())
            continue;
        const std::string& keyword = words[0];
        const size_t arguments = words.size() - 1;
        auto expectArguments = [&](size_t count, const char* form) {
            if (arguments != count)
                reader.fail("\"" + keyword + "\" takes " + form);
        };

        if (keyword == "figure") {
            if (open)
                reader.fail("is not closed with \"end\" before the next figure");
            expectArguments(1, "one word, the figure's id");
            reader.setId(words[1]);
            if (!ids.insert(words[1]).second)
                reader.fail("the id is used by an earlier figure");
            open.emplace();
            open->figure.id = words[1];
            open->figure.line = lineNumber;
            continue;
        }
        if (!open)
            reader.fail("\"" + keyword + "\" outside a figure (start one with \"figure ID\")");

        if (keyword == "en" || keyword == "de") {
            const std::string name = restOf(line, keyword);
            if (name.empty())
                reader.fail("\"" + keyword + "\" without a name");
            (keyword == "en" ? open->figure.nameEnglish : open->figure.nameGerman) = name;
        } else if (keyword == "family") {
            expectArguments(1, "one word");
            open->figure.family = words[1];
        } else if (keyword == "opening") {
            expectArguments(0, "nothing");
            open->figure.opening = true;
        } else if (keyword == "tilt") {
            expectArguments(1, "\"right\", \"left\" or \"diagonal\"");
            if (!open->pieces.empty() || open->tiltGiven)
                reader.fail("\"tilt\" must come once, before the pieces");
            if (words[1] == "right")
                open->tilt = Tilt::Right;
            else if (words[1] == "left")
                open->tilt = Tilt::Left;
            else if (words[1] == "diagonal")
                open->tilt = Tilt::Diagonal;
            else
                reader.fail("\"tilt\" takes \"right\", \"left\" or \"diagonal\", not \"" + words[1] + "\"");
            open->tiltGiven = true;
        } else if (keyword == "square" || keyword == "half" || keyword == "raw") {
            if (keyword == "square")
                expectArguments(2, "x and y");
            else if (keyword == "half")
                expectArguments(3, "lr, ll, ul or ur, then x and y");
            else
                expectArguments(3, "anchor x, anchor y and an orientation");
            const size_t first = keyword == "half" ? 2 : 1;
            const int x = reader.number(words[first], "x", -kCoordinateLimit, kCoordinateLimit);
            const int y = reader.number(words[first + 1], "y", -kCoordinateLimit, kCoordinateLimit);
            if (keyword == "square") {
                open->pieces.push_back(halfPiece(kHalves[0], x, y, open->tilt));
                open->pieces.push_back(halfPiece(kHalves[2], x, y, open->tilt));
            } else if (keyword == "half") {
                const HalfKind* kind = halfKind(words[1]);
                if (!kind)
                    reader.fail("unknown half \"" + words[1] + "\" (lr, ll, ul or ur)");
                open->pieces.push_back(halfPiece(*kind, x, y, open->tilt));
            } else {
                const int o = reader.number(words[3], "the orientation", 0, kOrientationCount - 1);
                open->pieces.push_back({x, y, o});
            }
            if (open->pieces.size() > static_cast<size_t>(kPieceCount))
                reader.fail("has more than 8 pieces");
        } else if (keyword == "end") {
            expectArguments(0, "nothing");
            closeFigure(reader, *open);
            figures.push_back(open->figure);
            open.reset();
            reader.setId("");
        } else {
            reader.fail("unknown word \"" + keyword +
                        "\" (figure, en, de, family, opening, tilt, square, half, raw, end)");
        }
    }
    if (in.bad())
        throw FiguresFileError(path + ": read error");
    if (open) {
        reader.setLine(open->figure.line);
        reader.fail("is not closed with \"end\" before the end of the file");
    }
    return figures;
}

}  // namespace quellon::catalogue
