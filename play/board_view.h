// The board paint area `box`: keeps the picture of the board in an image and
// draws pieces, the silhouette and the held piece's outline into it. A held
// piece is drawn as an exclusive-or outline, so moving or turning it redraws
// only two outlines (off at the old place, on at the new); everything else is
// a full repaint after a resize, an exposure or a change of Quellon. The
// steps of the pointer handling are drawn here from the board (showStep).
//
// Two short effects are shown on the screen only, never drawn into the
// picture: the opening (the pieces flying out from the board's centre to
// their places after the first paint; off when QUELLON_NO_ANIMATION is set)
// and the held outline flashing red twice when a put-down is refused.
#pragma once

#include <optional>

#include <QCursor>
#include <QElapsedTimer>
#include <QImage>
#include <QPolygon>
#include <QRgb>
#include <QTimer>
#include <QWidget>

#include "engine/board.h"
#include "engine/game_data.h"
#include "engine/interaction.h"
#include "engine/settings_values.h"

namespace quellon {

namespace board_colour {
constexpr QRgb kField = 0xFFC0C0C0;  // board field, erasing a piece
constexpr QRgb kSilhouette = 0xFFA0A0A0;
constexpr QRgb kPlaying = 0xFF000000;
constexpr QRgb kSolved = 0xFF00FF00;
constexpr QRgb kDropped = 0xFFFF0000;
constexpr QRgb kEdge = 0xFF7F7F7F;
constexpr QRgb kHeldOutline = 0xFFFFFF00;  // exclusive-or
}  // namespace board_colour

// The fill colour of the pieces in a solve state.
QRgb pieceFill(SolveState state);

// Flips the colour's bits along the closed outline of a polygon given in
// logical pixels, one logical pixel wide at the image's pixel ratio.
void xorOutline(QImage& image, const QPolygon& polygon, QRgb colour);

class BoardView : public QWidget {
    Q_OBJECT
public:
    // At each full repaint the pattern placement of `settings` says whether
    // the silhouette is drawn on the board.
    BoardView(QWidget* parent, const Board& board, const GameData& game, const SettingsValues& settings);

    // The common cell size; the area becomes 91 c + 1 by 61 c + 1 pixels.
    void setCellSize(int cellSize);
    int cellSize() const { return cellSize_; }

    void fillPiece(int i, QRgb fill, QRgb edge);
    void fillAllPieces(QRgb fill, QRgb edge);
    void drawOutline(int i, QRgb colour, bool exclusive);
    void drawSilhouette();
    // The held piece n laid down where its outline is: the outline taken
    // off, the piece filled in the playing colours.
    void layDownPiece(int n);
    // Field, silhouette (when on the board), pieces, held outline: drawn
    // when the picture is next shown or read, as a start lays out and sets
    // up the board several times before its first paint. Until then the
    // drawing calls above leave the picture alone.
    void repaintBoard();

    // Draws one step of the pointer handling; the board already holds its
    // result. A solve is drawn as the pieces turning to the solved colours.
    void showStep(const PointerStep& step);
    // The cursor for the zone of the held piece under the pointer.
    void showZone(HitZone zone);
    // The turn and move cursors, made from their artwork when first shown.
    const QCursor& turnCursor();
    const QCursor& moveCursor();
    // The pointer with nothing in hand. The first one waits for the first
    // paint: loading a cursor from the theme asks the X server several
    // questions, which held back the window's appearance at the start.
    void showPlainCursor();

    // The held outline flashes red twice on the screen, some 600 ms in all;
    // the picture stays as it is.
    void blinkHeldOutline();
    bool blinking() const { return blinkPhase_ != 0; }
    bool openingRunning() const { return openingRunning_; }

    // The picture, drawn anew first when a full repaint is due.
    const QImage& image();
    // Corners 0, 1, 2 of a piece in pixels of the area.
    QPolygon piecePolygon(const PieceState& piece) const;

signals:
    // A press of the left, middle or right button (others are no part of play).
    void pressed(PointerButton button, QPoint position);
    void moved(bool leftHeld, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void refreshPicture();
    void fillPolygon(const QPolygon& polygon, QRgb fill, QRgb edge);
    void toggleOutline(const PieceState& piece);
    void showPickedUp(int n);
    void updateAround(const QPolygon& polygon);
    void paintSilhouette(QPainter& painter) const;
    void paintOpening(QPainter& painter, double progress) const;
    void endOpening();
    void nextBlinkPhase();

    const Board& board_;
    const GameData& game_;
    const SettingsValues& settings_;  // the pattern placement, read at each full repaint
    int cellSize_ = 1;
    QImage image_;
    bool pictureStale_ = true;  // a full repaint is due

    bool openingDue_;  // until the first paint
    bool painted_ = false;
    bool openingRunning_ = false;
    QElapsedTimer openingClock_;  // started by the first paint
    QTimer openingFrames_;
    int blinkPhase_ = 0;  // odd: the outline is red on the screen
    QTimer blinkTimer_;
    std::optional<QCursor> crTurn;
    std::optional<QCursor> crMove;
};

}  // namespace quellon
