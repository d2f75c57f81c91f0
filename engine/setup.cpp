// Set-up of the current Quellon and help.
#include "engine/setup.h"

namespace quellon {

namespace {

constexpr int kParkLeftX = 9;
constexpr int kParkRightX = 81;
constexpr int kParkTopY = 8;
constexpr int kParkRowStep = 15;

// Pieces 1 .. 2 * level go to their solution spots, in numbering order.
void placeSolutionPieces(Board& board, const GameData& game, int level)
{
    const PuzzleRecord& solution = game.catalogue[static_cast<size_t>(game.currentQuellon)];
    for (int k = 1; k <= 2 * level; ++k) {
        board.liftPiece(k);
        board.piece(k) = solution.pieces[static_cast<size_t>(k - 1)];
        board.stampPiece(k);
    }
}

}  // namespace

PieceState parkingSlot(int n)
{
    const int x = (n % 2 == 1) ? kParkLeftX : kParkRightX;
    const int y = kParkTopY + kParkRowStep * ((n - 1) / 2);
    return PieceState{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0};
}

void parkPiece(Board& board, int n, PieceRandom& random)
{
    PieceState slot = parkingSlot(n);
    slot.orientation = static_cast<uint8_t>(random.orientation());
    board.piece(n) = slot;
}

bool setUpQuellon(Board& board, GameData& game, PieceRandom& random)
{
    game.workingRecord() = game.catalogue[static_cast<size_t>(game.currentQuellon)];
    board.layoutGrid.fill(0);
    board.targetGrid.fill(0);
    for (const PieceState& piece : game.workingRecord().pieces)
        addPieceCodes(board.targetGrid, piece, +1);

    for (int n = 1; n <= kPieceCount; ++n) {
        parkPiece(board, n, random);
        PieceState& piece = board.piece(n);
        while (!board.fitsBoard(piece.x, piece.y, piece.orientation))
            piece.orientation = static_cast<uint8_t>(random.orientation());
        board.stampPiece(n);
    }

    const uint8_t progress = game.currentProgress();
    if (!isFinished(progress))
        placeSolutionPieces(board, game, helpLevel(progress));

    const std::optional<Cell> anchor = firstFilledCell(board.targetGrid);
    board.targetAnchorX = anchor ? anchor->x : 0;
    board.targetAnchorY = anchor ? anchor->y : 0;
    board.selectedPiece = 0;
    board.solveState = SolveState::Playing;
    return !isFinished(progress);
}

HelpResult giveHelp(Board& board, GameData& game, PieceRandom& random)
{
    // Help is only offered on an unfinished Quellon; refusing it on a finished
    // one keeps a solve from being turned back into help levels.
    if (board.solveState != SolveState::Playing || isFinished(game.currentProgress()))
        return {};
    for (int n = 1; n <= kPieceCount; ++n)
        if (n != board.selectedPiece)
            board.liftPiece(n);
    board.selectedPiece = 0;

    for (int n = 1; n <= kPieceCount; ++n) {
        parkPiece(board, n, random);
        board.stampPiece(n);
    }

    const int level = raiseHelpLevel(game);
    if (level == kDroppedLevel)
        board.solveState = SolveState::Dropped;
    placeSolutionPieces(board, game, level);
    return {true, level};
}

}  // namespace quellon
