// Drawing of the board into its image, and the pointer events of the area.
#include "play/board_view.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "ui/dialog_look.h"
#include "engine/orientation_table.h"

namespace quellon {

namespace {

// The pixel that holds a pointer position (also left of or above the area).
QPoint pixelOf(const QPointF& position)
{
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

constexpr int kOpeningMs = 350;
constexpr int kOpeningFrameMs = 16;
// A refused put-down: the outline flashes red twice, 200 ms each with a
// pause as long between, some 600 ms in all: shorter flashes went unseen by
// a player not looking for them.
constexpr int kBlinkPhaseMs = 200;
constexpr int kBlinkPhases = 3;      // red, as it was, red; then as it was
constexpr int kRefusedPenWidth = 3;  // logical pixels: seen at a glance
const QColor kRefusedOutline(0xFF, 0, 0);

QCursor artCursor(const QString& file, Qt::CursorShape fallback)
{
    if (!artExists(file))
        return QCursor(fallback);
    QPixmap picture = artPixmap(file, QSize(32, 32));
    // X11 reads a cursor's hot spot in the picture's own pixels, whatever
    // its scale: on a scaled screen it is handed a picture of scale 1 and
    // the hot spot counted in those pixels, so the pointer acts at the
    // middle of the cross and not at its upper left.
    const qreal ratio = picture.devicePixelRatio();
    if (ratio != 1 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        picture.setDevicePixelRatio(1);
        return QCursor(picture, qRound(16 * ratio), qRound(16 * ratio));
    }
    return QCursor(picture, 16, 16);
}

}  // namespace

QRgb pieceFill(SolveState state)
{
    switch (state) {
    case SolveState::Solved:
        return board_colour::kSolved;
    case SolveState::Dropped:
        return board_colour::kDropped;
    case SolveState::Playing:
        break;
    }
    return board_colour::kPlaying;
}

BoardView::BoardView(QWidget* parent, const Board& board, const GameData& game, const SettingsValues& settings)
    : QWidget(parent),
      board_(board),
      game_(game),
      settings_(settings)
{
    setObjectName(QStringLiteral("box"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCellSize(1);
    openingDue_ = !qEnvironmentVariableIsSet("QUELLON_NO_ANIMATION");
    openingFrames_.setInterval(kOpeningFrameMs);
    connect(&openingFrames_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    blinkTimer_.setInterval(kBlinkPhaseMs);
    connect(&blinkTimer_, &QTimer::timeout, this, &BoardView::nextBlinkPhase);
}

void BoardView::setCellSize(int cellSize)
{
    cellSize_ = std::max(cellSize, 1);
    const QSize logical(kBoardColumns * cellSize_ + 1, kBoardRows * cellSize_ + 1);
    // Drawn in device pixels so the board stays sharp on high-DPI screens.
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(logical * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    resize(logical);
    repaintBoard();
}

QPolygon BoardView::piecePolygon(const PieceState& piece) const
{
    QPolygon polygon(3);
    for (int k = 0; k < 3; ++k) {
        const size_t index = static_cast<size_t>(k * kOrientationCount + piece.orientation);
        polygon.setPoint(k, (piece.x + vertexX[index]) * cellSize_, (piece.y + vertexY[index]) * cellSize_);
    }
    return polygon;
}

void BoardView::fillPolygon(const QPolygon& polygon, QRgb fill, QRgb edge)
{
    if (pictureStale_)
        return;  // the coming full repaint draws the board as it is then
    QPainter painter(&image_);
    painter.setPen(QPen(QColor::fromRgb(edge), 0));
    painter.setBrush(QColor::fromRgb(fill));
    painter.drawPolygon(polygon);
}

void BoardView::updateAround(const QPolygon& polygon) { update(polygon.boundingRect().adjusted(-1, -1, 2, 2)); }

void BoardView::fillPiece(int i, QRgb fill, QRgb edge)
{
    const QPolygon polygon = piecePolygon(board_.piece(i));
    fillPolygon(polygon, fill, edge);
    updateAround(polygon);
}

void BoardView::fillAllPieces(QRgb fill, QRgb edge)
{
    // In numbering order: the higher piece lies on top.
    for (int i = 1; i <= kPieceCount; ++i)
        if (i != board_.selectedPiece)
            fillPiece(i, fill, edge);
}

namespace {

// The pixels of a line from one point to another, end point included.
void linePixels(QPoint from, QPoint to, std::vector<QPoint>& pixels)
{
    int x = from.x();
    int y = from.y();
    const int dx = std::abs(to.x() - x);
    const int dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1;
    const int sy = y < to.y() ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        pixels.emplace_back(x, y);
        if (x == to.x() && y == to.y())
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

}  // namespace

// Straight on the pixels: the painter's raster operations hand wide images
// to a thread pool, far slower than the few hundred pixels of an outline.
// The pen is a square one logical pixel wide (two device pixels at 2x), so
// the outline is as easy to see on a scaled screen; each pixel is flipped
// once however often the pen passes it, so corners do not go dark. Drawn
// twice, the outline leaves every bit as it was.
void xorOutline(QImage& image, const QPolygon& polygon, QRgb colour)
{
    const qreal ratio = image.devicePixelRatio();
    const int pen = std::max(1, qRound(ratio));
    std::vector<QPoint> centre;
    for (int k = 0; k < 3; ++k)
        linePixels((QPointF(polygon.point(k)) * ratio).toPoint(),
                   (QPointF(polygon.point((k + 1) % 3)) * ratio).toPoint(), centre);
    std::vector<QPoint> pixels;
    pixels.reserve(centre.size() * static_cast<size_t>(pen * pen));
    for (const QPoint& p : centre)
        for (int dy = 0; dy < pen; ++dy)
            for (int dx = 0; dx < pen; ++dx)
                pixels.emplace_back(p.x() + dx, p.y() + dy);
    const auto before = [](const QPoint& a, const QPoint& b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); };
    std::sort(pixels.begin(), pixels.end(), before);
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    const QRgb bits = colour & 0x00FFFFFF;
    const QRect inside = image.rect();
    for (const QPoint& p : pixels)
        if (inside.contains(p))
            reinterpret_cast<QRgb*>(image.scanLine(p.y()))[p.x()] ^= bits;
}

void BoardView::drawOutline(int i, QRgb colour, bool exclusive)
{
    if (pictureStale_)
        return;
    QPolygon polygon = piecePolygon(board_.piece(i));
    if (exclusive) {
        xorOutline(image_, polygon, colour);
    } else {
        polygon << polygon.point(0);
        QPainter painter(&image_);
        painter.setPen(QPen(QColor::fromRgb(colour), 0));
        painter.drawPolyline(polygon);
    }
    updateAround(polygon);
}

void BoardView::toggleOutline(const PieceState& piece)
{
    if (pictureStale_)
        return;
    const QPolygon polygon = piecePolygon(piece);
    xorOutline(image_, polygon, board_colour::kHeldOutline);
    updateAround(polygon);
}

void BoardView::layDownPiece(int n)
{
    // Off first: the outline's pixel runs of a tilted piece are not all
    // under the filled triangle's edge, and would stay beside it.
    drawOutline(n, board_colour::kHeldOutline, true);
    // On a screen of a fractional scale the edges of touching pieces do not
    // fall on the same device pixels, so the piece laid on top of its
    // neighbours would differ from a repaint, where the higher number lies
    // on top. Its area is drawn as a repaint draws it, clipped to whole
    // device pixels; at whole scales this is the piece filled on top.
    if (pictureStale_)
        return;
    const QPolygon polygon = piecePolygon(board_.piece(n));
    const qreal ratio = image_.devicePixelRatio();
    const QRectF around(polygon.boundingRect().adjusted(-1, -1, 2, 2));
    const QRect device = QRectF(around.topLeft() * ratio, around.size() * ratio).toAlignedRect();
    const QRectF clip(QPointF(device.topLeft()) / ratio, QSizeF(device.size()) / ratio);
    QPainter painter(&image_);
    painter.setClipRect(clip);
    painter.fillRect(clip, QColor::fromRgb(board_colour::kField));
    if (settings_.patmode == kPatternOnBoard)
        paintSilhouette(painter);
    painter.setPen(QPen(QColor::fromRgb(board_colour::kEdge), 0));
    painter.setBrush(QColor::fromRgb(pieceFill(board_.solveState)));
    for (int i = 1; i <= kPieceCount; ++i)
        if (i != board_.selectedPiece)
            painter.drawPolygon(piecePolygon(board_.piece(i)));
    painter.end();
    update(clip.toAlignedRect());
}

void BoardView::showPickedUp(int n)
{
    fillPiece(n, board_colour::kField, board_colour::kField);
    if (settings_.patmode == kPatternOnBoard)
        drawSilhouette();
    fillAllPieces(board_colour::kPlaying, board_colour::kEdge);
    drawOutline(n, board_colour::kHeldOutline, true);
}

void BoardView::showStep(const PointerStep& step)
{
    switch (step.kind) {
    case PointerStep::Kind::PickedUp:
        showPickedUp(step.piece);
        break;
    case PointerStep::Kind::Moved:
    case PointerStep::Kind::Turned:
        toggleOutline(step.from);
        toggleOutline(step.to);
        break;
    case PointerStep::Kind::PutDown:
        layDownPiece(step.piece);
        // With nothing in hand the pointer moves no cursor: show the plain one.
        setCursor(Qt::PointingHandCursor);
        break;
    case PointerStep::Kind::Refused:
        // Seen as well as heard: sound may be off.
        blinkHeldOutline();
        break;
    case PointerStep::Kind::Solved:
        fillAllPieces(board_colour::kSolved, board_colour::kEdge);
        setCursor(Qt::PointingHandCursor);
        break;
    }
}

void BoardView::showZone(HitZone zone)
{
    switch (zone) {
    case HitZone::Move:
        setCursor(moveCursor());
        break;
    case HitZone::Turn:
        setCursor(turnCursor());
        break;
    case HitZone::Outside:
        setCursor(Qt::PointingHandCursor);
        break;
    }
}

void BoardView::showPlainCursor()
{
    if (painted_ || testAttribute(Qt::WA_SetCursor))
        setCursor(Qt::PointingHandCursor);
}

const QCursor& BoardView::turnCursor()
{
    if (!crTurn)
        crTurn = artCursor(QStringLiteral("cursor-turn.svg"), Qt::SizeBDiagCursor);
    return *crTurn;
}

const QCursor& BoardView::moveCursor()
{
    if (!crMove)
        crMove = artCursor(QStringLiteral("cursor-move.svg"), Qt::SizeAllCursor);
    return *crMove;
}

void BoardView::paintSilhouette(QPainter& painter) const
{
    painter.setPen(QPen(QColor::fromRgb(board_colour::kSilhouette), 0));
    painter.setBrush(QColor::fromRgb(board_colour::kSilhouette));
    for (const PieceState& piece : game_.workingRecord().pieces)
        painter.drawPolygon(piecePolygon(piece));
}

void BoardView::drawSilhouette()
{
    if (pictureStale_)
        return;
    QPainter painter(&image_);
    paintSilhouette(painter);
    painter.end();
    update();
}

void BoardView::repaintBoard()
{
    pictureStale_ = true;
    update();
}

const QImage& BoardView::image()
{
    refreshPicture();
    return image_;
}

void BoardView::refreshPicture()
{
    if (!pictureStale_)
        return;
    pictureStale_ = false;
    image_.fill(board_colour::kField);
    if (settings_.patmode == kPatternOnBoard)
        drawSilhouette();
    fillAllPieces(pieceFill(board_.solveState), board_colour::kEdge);
    if (board_.selectedPiece != 0)
        drawOutline(board_.selectedPiece, board_colour::kHeldOutline, true);
}

void BoardView::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another pixel density: draw the board anew for it.
    if (!qFuzzyCompare(image_.devicePixelRatio(), devicePixelRatioF()))
        setCellSize(cellSize_);
    if (!painted_) {
        painted_ = true;
        // Unless a held piece has set its cursor already.
        if (!testAttribute(Qt::WA_SetCursor))
            QTimer::singleShot(0, this, &BoardView::showPlainCursor);
    }
    QPainter painter(this);
    // The opening starts with the first paint, so it costs the start nothing.
    if (openingDue_) {
        openingDue_ = false;
        openingRunning_ = true;
        openingClock_.start();
        openingFrames_.start();
    }
    if (openingRunning_) {
        const double progress = static_cast<double>(openingClock_.elapsed()) / kOpeningMs;
        if (progress < 1) {
            paintOpening(painter, progress);
            return;
        }
        openingRunning_ = false;
        openingFrames_.stop();
        if (event->rect() != rect()) {
            update();
            return;
        }
    }
    refreshPicture();
    const QRect area = event->rect();
    const qreal ratio = image_.devicePixelRatio();
    const QRectF source(area.left() * ratio, area.top() * ratio, area.width() * ratio, area.height() * ratio);
    if (blinkPhase_ % 2 == 1 && board_.selectedPiece != 0) {
        // On a copy: the board's own picture stays as it is.
        QImage frame = image_;
        const QPolygon outline = piecePolygon(board_.piece(board_.selectedPiece));
        xorOutline(frame, outline, board_colour::kHeldOutline);
        QPainter flash(&frame);
        flash.setPen(QPen(kRefusedOutline, kRefusedPenWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        flash.drawPolygon(outline);
        flash.end();
        painter.drawImage(area.topLeft(), frame, source);
        return;
    }
    painter.drawImage(area.topLeft(), image_, source);
}

void BoardView::paintOpening(QPainter& painter, double progress) const
{
    // Field and silhouette as at rest; the pieces spread from the centre,
    // fast at first and slowing down to their places.
    painter.fillRect(rect(), QColor::fromRgb(board_colour::kField));
    if (settings_.patmode == kPatternOnBoard)
        paintSilhouette(painter);
    const double spread = 1 - std::pow(1 - progress, 3);
    const QPointF centre(width() / 2.0, height() / 2.0);
    painter.translate(centre);
    painter.scale(spread, spread);
    painter.translate(-centre);
    painter.setPen(QPen(QColor::fromRgb(board_colour::kEdge), 0));
    painter.setBrush(QColor::fromRgb(pieceFill(board_.solveState)));
    for (int i = 1; i <= kPieceCount; ++i)
        if (i != board_.selectedPiece)
            painter.drawPolygon(piecePolygon(board_.piece(i)));
}

void BoardView::endOpening()
{
    openingDue_ = false;
    if (!openingRunning_)
        return;
    openingRunning_ = false;
    openingFrames_.stop();
    update();
}

void BoardView::blinkHeldOutline()
{
    blinkPhase_ = 1;
    blinkTimer_.start();
    update();
}

void BoardView::nextBlinkPhase()
{
    if (++blinkPhase_ > kBlinkPhases) {
        blinkPhase_ = 0;
        blinkTimer_.stop();
    }
    update();
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    // The player wants to play: the opening gives way at once.
    endOpening();
    switch (event->button()) {
    case Qt::LeftButton:
        emit pressed(PointerButton::Left, pixelOf(event->position()));
        break;
    case Qt::MiddleButton:
        emit pressed(PointerButton::Middle, pixelOf(event->position()));
        break;
    case Qt::RightButton:
        emit pressed(PointerButton::Right, pixelOf(event->position()));
        break;
    default:
        break;
    }
}

void BoardView::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(event->buttons().testFlag(Qt::LeftButton), pixelOf(event->position()));
}

}  // namespace quellon
