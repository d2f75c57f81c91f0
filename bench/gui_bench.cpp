// Drawing speed of the board at the size of a 3840 x 2160 window (cell 33):
// one drag step of the held piece (two exclusive-or outlines and the widget
// update), and a full repaint of the board picture.
#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>

#include "engine/setup.h"
#include "play/board_view.h"
#include "play/main_form.h"

using namespace quellon;

namespace {

class Silent : public SoundEffects {
public:
    void playSound(quellon::SoundNumber) override {}
    void setSoundsEnabled(bool) override {}
};

class NoMedia : public GameMedia {
public:
    void openHelp(int, const QWidget&) override {}
    void closeHelp() override {}
    void startMusic() override {}
    void musicTick() override {}
    void stopMusic() override {}
    bool toggleMusic() override { return false; }
    bool musicFound() const override { return false; }
    QString musicFileName() const override { return {}; }
};

// A main window at 3840 x 2160 with a Quellon laid out and piece 1 in hand.
struct BigBoard {
    GameSession session;
    Silent sound;
    NoMedia media;
    TMainform form{session, sound, media};

    BigBoard()
    {
        GameData& game = session.game();
        game.quellonCount = 1;
        game.currentQuellon = 1;
        for (int k = 0; k < kPieceCount; ++k)
            game.catalogue[1].pieces[static_cast<size_t>(k)] =
                PieceState{static_cast<uint8_t>(28 + 14 * (k % 4)), static_cast<uint8_t>(20 + 16 * (k / 4)),
                           static_cast<uint8_t>(3 * k % 16)};
        session.settings().patmode = 0;
        form.resize(3840, 2160);
        form.show();
        QCoreApplication::processEvents();
        form.carryOut(session.setUpCurrent());
        form.repaintMain();
        const PieceState first = form.board().piece(1);
        form.carryOut(session.pointerPressed(PointerButton::Left, first.x * cellSize(), first.y * cellSize()));
    }
    int cellSize() const { return form.boardView()->cellSize(); }
};

// Made on first use and gone before the application object.
std::unique_ptr<BigBoard> theBoard;

BigBoard& bigBoard()
{
    if (!theBoard)
        theBoard = std::make_unique<BigBoard>();
    return *theBoard;
}

void BM_DragStep(benchmark::State& state)
{
    BigBoard& big = bigBoard();
    if (big.cellSize() != 33 || big.form.board().selectedPiece != 1) {
        state.SkipWithError("board not at cell size 33 with a piece in hand");
        return;
    }
    PieceInteraction& interaction = big.form.interaction();
    // Back and forth between two neighbouring cells in the middle of the
    // board: every step is a move, whichever run of the loop this is.
    const PieceState& held = big.form.board().piece(1);
    int moves = 0;
    int step = 0;
    for (auto _ : state) {
        const int x = held.x;
        ++step;
        // The pointer's cell plus the grab's offset is where the piece goes.
        const int px = (40 + (step & 1) - interaction.dragOffsetX) * 33 + 16;
        const int py = (30 - interaction.dragOffsetY) * 33 + 16;
        big.form.carryOut(big.session.pointerMoved(true, px, py));
        moves += held.x != x;
    }
    benchmark::DoNotOptimize(big.form.boardView()->image().constBits());
    if (moves < static_cast<int>(state.iterations()) - 1)
        state.SkipWithError("the held piece did not move at every step");
}
BENCHMARK(BM_DragStep);

void BM_FullRepaint(benchmark::State& state)
{
    BigBoard& big = bigBoard();
    for (auto _ : state)
        big.form.boardView()->repaintBoard();
    benchmark::DoNotOptimize(big.form.boardView()->image().constBits());
    state.counters["width"] = big.form.boardView()->width();
    state.counters["height"] = big.form.boardView()->height();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theBoard.reset();
    return 0;
}
