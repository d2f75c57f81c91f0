// The board paint area `box`: keeps the picture of the board in an image and
// draws pieces, the silhouette and the held piece's outline into it. Moving a
// held piece redraws only two exclusive-or outlines; everything else is a
// full repaint after a resize, an exposure or a change of Quellon.
#pragma once

#include <functional>

#include <QImage>
#include <QPolygon>
#include <QRgb>
#include <QWidget>

#include "engine/board.h"
#include "engine/game_data.h"

namespace quellon {

namespace board_colour {
constexpr QRgb kField = 0xFFC0C0C0;       // board field, erasing a piece
constexpr QRgb kSilhouette = 0xFFA0A0A0;
constexpr QRgb kPlaying = 0xFF000000;
constexpr QRgb kSolved = 0xFF00FF00;
constexpr QRgb kDropped = 0xFFFF0000;
constexpr QRgb kEdge = 0xFF7F7F7F;
constexpr QRgb kHeldOutline = 0xFFFFFF00;  // exclusive-or
} // namespace board_colour

// The fill colour of the pieces in a solve state.
QRgb pieceFill(SolveState state);

class BoardView : public QWidget {
    Q_OBJECT
public:
    // `patternOnBoard` answers, at each full repaint, whether the silhouette
    // is drawn on the board (the pattern is not in a window of its own).
    BoardView(QWidget* parent, const Board& board, const GameData& game, std::function<bool()> patternOnBoard);

    // The common cell size; the area becomes 91 c + 1 by 61 c + 1 pixels.
    void setCellSize(int cellSize);
    int cellSize() const { return cellSize_; }

    void fillPiece(int i, QRgb fill, QRgb edge);
    void fillAllPieces(QRgb fill, QRgb edge);
    void drawOutline(int i, QRgb colour, bool exclusive);
    void drawSilhouette();
    // Field, silhouette (when on the board), pieces, held outline.
    void repaintBoard();

    const QImage& image() const { return image_; }
    // Corners 0, 1, 2 of a piece in pixels of the area.
    QPolygon piecePolygon(const PieceState& piece) const;

signals:
    void pressed(Qt::MouseButton button, QPoint position);
    void moved(Qt::MouseButtons buttons, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void fillPolygon(const QPolygon& polygon, QRgb fill, QRgb edge);
    void updateAround(const QPolygon& polygon);

    const Board& board_;
    const GameData& game_;
    std::function<bool()> patternOnBoard_;
    int cellSize_ = 1;
    QImage image_;
};

} // namespace quellon
