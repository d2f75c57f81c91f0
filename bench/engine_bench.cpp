// Speed of the engine operations on the hot paths: the fit test of a drop,
// the solve check, a pick-up and drop, and the set-up of a Quellon.
#include <benchmark/benchmark.h>

#include "engine/setup.h"
#include "tests/support/test_quellon.h"

using namespace quellon;
using quellon::testing::squareQuellon;

namespace {

Board solvedBoard()
{
    Board board;
    const PuzzleRecord record = squareQuellon();
    for (int n = 1; n <= kPieceCount; ++n) {
        board.piece(n) = record.pieces[static_cast<size_t>(n - 1)];
        board.stampPiece(n);
        addPieceCodes(board.targetGrid, board.piece(n), +1);
    }
    const auto anchor = firstFilledCell(board.targetGrid);
    board.targetAnchorX = anchor->x;
    board.targetAnchorY = anchor->y;
    return board;
}

void BM_fitsBoardAgainstSevenPieces(benchmark::State& state)
{
    Board board = solvedBoard();
    board.liftPiece(8);  // piece 8 is held; it fits back where it was
    const PieceState held = board.piece(8);
    for (auto _ : state)
        benchmark::DoNotOptimize(board.fitsBoard(held.x, held.y, held.orientation));
}
BENCHMARK(BM_fitsBoardAgainstSevenPieces);

void BM_checkSolvedEightPieces(benchmark::State& state)
{
    Board board = solvedBoard();
    for (auto _ : state) {
        board.solveState = SolveState::Playing;
        benchmark::DoNotOptimize(board.checkSolved());
    }
}
BENCHMARK(BM_checkSolvedEightPieces);

void BM_liftAndStamp(benchmark::State& state)
{
    Board board = solvedBoard();
    for (auto _ : state) {
        board.liftPiece(3);
        board.stampPiece(3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_liftAndStamp);

void BM_setUpQuellon(benchmark::State& state)
{
    GameData game;
    game.quellonCount = 1;
    game.catalogue[1] = squareQuellon();
    game.progressTable[1] = 2;
    Board board;
    PieceRandom random{1};
    for (auto _ : state)
        benchmark::DoNotOptimize(setUpQuellon(board, game, random));
}
BENCHMARK(BM_setUpQuellon);

}  // namespace
