// The solver works on the figure's own cells. A layout that the game accepts
// has in every cell the sum of the codes laid there, and that sum never
// exceeds 64 when the pieces went down through the fit test (no allowed pair
// adds up to more, and a full cell accepts nothing). So the pieces of a layout
// share out each cell's target value without remainder, and the search lays
// pieces only where every code they bring still fits in what is left of the
// cell. It always covers the first cell, in reading order from its starting
// corner, that still has something left: every piece of a layout that covers
// that cell is laid while it is first, so taking those pieces in ascending
// candidate order reaches each set of placements exactly once.
#include "tools/catalogue/solver.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <tuple>

#include "engine/orientation_table.h"

namespace quellon::catalogue {

namespace {

struct CellPart {
    int i;
    int j;
    uint8_t code;
};

// The covered cells of each orientation with their codes.
const std::array<std::vector<CellPart>, kOrientationCount>& partsByOrientation()
{
    static const auto parts = [] {
        std::array<std::vector<CellPart>, kOrientationCount> all;
        for (int o = 0; o < kOrientationCount; ++o)
            for (int j = boundsMinY[o]; j <= boundsMaxY[o]; ++j)
                for (int i = boundsMinX[o]; i <= boundsMaxX[o]; ++i)
                    if (const uint8_t code = cellCode(o, i, j); code != 0)
                        all[static_cast<size_t>(o)].push_back({i, j, code});
        return all;
    }();
    return parts;
}

class Search {
public:
    Search(std::span<const PieceState> figure, const SolverOptions& options, SolveResult& result)
        : options_(options),
          result_(result),
          pieceCount_(static_cast<int>(figure.size()))
    {
        Grid grid{};
        for (const PieceState& piece : figure)
            addPieceCodes(grid, piece, +1);
        findExtent(grid);
        residual_.resize(static_cast<size_t>(width_ * height_));
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                residual_[static_cast<size_t>(y * width_ + x)] =
                    grid[static_cast<size_t>(gridIndex(left_ + x, top_ + y))];
        for (uint8_t value : residual_)
            remainingSum_ += value;
        orderCells();
        listCandidates();
    }

    void run()
    {
        if (pieceCount_ > 0 && !candidateSum_.empty())
            descend(pieceCount_, 0, -1, -1);
    }

private:
    void findExtent(const Grid& grid)
    {
        int right = -1, bottom = -1;
        left_ = kBoardColumns;
        top_ = kBoardRows;
        for (int x = 0; x < kBoardColumns; ++x)
            for (int y = 0; y < kBoardRows; ++y)
                if (grid[static_cast<size_t>(gridIndex(x, y))] != 0) {
                    left_ = std::min(left_, x);
                    right = std::max(right, x);
                    top_ = std::min(top_, y);
                    bottom = std::max(bottom, y);
                }
        width_ = std::max(0, right - left_ + 1);
        height_ = std::max(0, bottom - top_ + 1);
    }

    // The cells in the order the search covers them.
    void orderCells()
    {
        const bool fromRight = options_.start == ScanStart::TopRight || options_.start == ScanStart::BottomRight;
        const bool fromBottom = options_.start == ScanStart::BottomLeft || options_.start == ScanStart::BottomRight;
        for (int row = 0; row < height_; ++row)
            for (int column = 0; column < width_; ++column) {
                const int y = fromBottom ? height_ - 1 - row : row;
                const int x = fromRight ? width_ - 1 - column : column;
                scan_.push_back(static_cast<size_t>(y * width_ + x));
            }
    }

    // Every placement whose cells all lie on the figure, each code no larger
    // than the figure's value there; no layout can use any other.
    void listCandidates()
    {
        coverers_.assign(residual_.size(), {});
        minPieceSum_ = std::numeric_limits<int>::max();
        maxPieceSum_ = 0;
        for (int o = 0; o < kOrientationCount; ++o) {
            const std::vector<CellPart>& parts = partsByOrientation()[static_cast<size_t>(o)];
            int pieceSum = 0;
            for (const CellPart& part : parts)
                pieceSum += part.code;
            minPieceSum_ = std::min(minPieceSum_, pieceSum);
            maxPieceSum_ = std::max(maxPieceSum_, pieceSum);
            for (int x = left_ - boundsMinX[o]; x + boundsMaxX[o] < left_ + width_; ++x)
                for (int y = top_ - boundsMinY[o]; y + boundsMaxY[o] < top_ + height_; ++y) {
                    const bool fits = std::all_of(parts.begin(), parts.end(), [&](const CellPart& part) {
                        return part.code <= residual_[localIndex(x + part.i, y + part.j)];
                    });
                    if (!fits)
                        continue;
                    const int id = static_cast<int>(candidateSum_.size());
                    candidateStart_.push_back(static_cast<int>(cells_.size()));
                    for (const CellPart& part : parts) {
                        const size_t cell = localIndex(x + part.i, y + part.j);
                        cells_.push_back(static_cast<uint16_t>(cell));
                        codes_.push_back(part.code);
                        coverers_[cell].push_back(id);
                    }
                    candidateSum_.push_back(pieceSum);
                    places_.push_back(
                        PieceState{static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(o)});
                }
        }
        candidateStart_.push_back(static_cast<int>(cells_.size()));
        result_.candidates = static_cast<int>(candidateSum_.size());
    }

    size_t localIndex(int x, int y) const { return static_cast<size_t>((y - top_) * width_ + (x - left_)); }

    bool fits(int id) const
    {
        for (int k = candidateStart_[static_cast<size_t>(id)]; k < candidateStart_[static_cast<size_t>(id) + 1]; ++k)
            if (codes_[static_cast<size_t>(k)] > residual_[cells_[static_cast<size_t>(k)]])
                return false;
        return true;
    }

    void take(int id, int sign)
    {
        for (int k = candidateStart_[static_cast<size_t>(id)]; k < candidateStart_[static_cast<size_t>(id) + 1]; ++k) {
            uint8_t& cell = residual_[cells_[static_cast<size_t>(k)]];
            cell = static_cast<uint8_t>(cell - sign * codes_[static_cast<size_t>(k)]);
        }
        remainingSum_ -= sign * candidateSum_[static_cast<size_t>(id)];
    }

    // Layouts found below this point. Nothing is left in the cells before
    // scan position `from`; `lastCell` and `lastId` are the cell and the
    // candidate of the previous placement.
    int64_t descend(int piecesLeft, size_t from, int lastCell, int lastId)
    {
        size_t position = from;
        while (position < scan_.size() && residual_[scan_[position]] == 0)
            ++position;
        if (position == scan_.size())
            return 0;
        const size_t first = scan_[position];
        const int64_t leftAfter = piecesLeft - 1;
        int64_t found = 0;
        for (const int id : coverers_[first]) {
            // Pieces that share the first cell are laid in ascending order.
            if (static_cast<int>(first) == lastCell && id <= lastId)
                continue;
            // What is left must be made of the remaining pieces.
            const int64_t rest = remainingSum_ - candidateSum_[static_cast<size_t>(id)];
            if (rest < leftAfter * minPieceSum_ || rest > leftAfter * maxPieceSum_)
                continue;
            if (!fits(id))
                continue;
            if (result_.nodes >= options_.maxNodes) {
                result_.capped = true;
                return found;
            }
            ++result_.nodes;
            take(id, +1);
            layout_.push_back(places_[static_cast<size_t>(id)]);
            const int64_t below =
                leftAfter == 0 ? completeLayout() : descend(piecesLeft - 1, position, static_cast<int>(first), id);
            layout_.pop_back();
            take(id, -1);
            if (below == 0)
                ++result_.deadEnds;
            found += below;
            if (result_.capped)
                return found;
        }
        return found;
    }

    // The last piece went down and every cell is used up exactly.
    int64_t completeLayout()
    {
        if (!canBeLaid(layout_)) {
            ++result_.unbuildable;
            return 0;
        }
        ++result_.layouts;
        if (static_cast<int64_t>(result_.kept.size()) < options_.maxKeptLayouts)
            result_.kept.push_back(canonicalLayout(layout_));
        return 1;
    }

    const SolverOptions& options_;
    SolveResult& result_;
    int pieceCount_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::vector<uint8_t> residual_;  // what is left of each cell, row after row
    std::vector<size_t> scan_;       // the cells in search order
    int64_t remainingSum_ = 0;
    int minPieceSum_ = 0, maxPieceSum_ = 0;
    // Candidate id's cells are cells_[candidateStart_[id] .. candidateStart_[id + 1]).
    std::vector<int> candidateStart_;
    std::vector<uint16_t> cells_;
    std::vector<uint8_t> codes_;
    std::vector<int> candidateSum_;
    std::vector<PieceState> places_;
    std::vector<std::vector<int>> coverers_;  // candidates covering each cell, ascending
    std::vector<PieceState> layout_;
};

// Whether the pieces not yet in `laid` can follow in some order; `hopeless`
// remembers the sets from which no order works.
bool layRest(Board& board, std::span<const PieceState> pieces, unsigned laid, std::vector<bool>& hopeless)
{
    const unsigned all = (1u << pieces.size()) - 1;
    if (laid == all)
        return true;
    if (hopeless[laid])
        return false;
    for (size_t p = 0; p < pieces.size(); ++p) {
        if (laid & (1u << p))
            continue;
        const PieceState& piece = pieces[p];
        if (!board.fitsBoard(piece.x, piece.y, piece.orientation))
            continue;
        addPieceCodes(board.layoutGrid, piece, +1);
        const bool done = layRest(board, pieces, laid | (1u << p), hopeless);
        addPieceCodes(board.layoutGrid, piece, -1);
        if (done)
            return true;
    }
    hopeless[laid] = true;
    return false;
}

}  // namespace

bool canBeLaid(std::span<const PieceState> pieces)
{
    if (pieces.size() > static_cast<size_t>(kPieceCount))
        throw std::invalid_argument("at most eight pieces");
    Board board;
    // The given order is the usual answer; try it before searching the others.
    size_t laid = 0;
    for (; laid < pieces.size(); ++laid) {
        const PieceState& piece = pieces[laid];
        if (!board.fitsBoard(piece.x, piece.y, piece.orientation))
            break;
        addPieceCodes(board.layoutGrid, piece, +1);
    }
    if (laid == pieces.size())
        return true;
    board.layoutGrid.fill(0);
    std::vector<bool> hopeless(size_t{1} << pieces.size(), false);
    return layRest(board, pieces, 0, hopeless);
}

bool passesSolveCheck(const PuzzleRecord& record, std::span<const PieceState> layout)
{
    Board board;
    for (const PieceState& piece : record.pieces)
        addPieceCodes(board.targetGrid, piece, +1);
    const std::optional<Cell> anchor = firstFilledCell(board.targetGrid);
    if (anchor) {
        board.targetAnchorX = anchor->x;
        board.targetAnchorY = anchor->y;
    }
    for (const PieceState& piece : layout)
        addPieceCodes(board.layoutGrid, piece, +1);
    return board.checkSolved();
}

std::vector<PieceState> canonicalLayout(std::span<const PieceState> pieces)
{
    std::vector<PieceState> sorted(pieces.begin(), pieces.end());
    std::sort(sorted.begin(), sorted.end(), [](const PieceState& a, const PieceState& b) {
        return std::tie(a.y, a.x, a.orientation) < std::tie(b.y, b.x, b.orientation);
    });
    return sorted;
}

SolveResult solveFigure(std::span<const PieceState> figure, const SolverOptions& options)
{
    if (figure.empty() || figure.size() > static_cast<size_t>(kPieceCount))
        throw std::invalid_argument("a figure has one to eight pieces");
    for (const PieceState& piece : figure)
        if (!Board{}.inBounds(piece.x, piece.y, piece.orientation))
            throw std::invalid_argument("a piece of the figure leaves the board");
    SolveResult result;
    Search search(figure, options, result);
    search.run();
    return result;
}

}  // namespace quellon::catalogue
