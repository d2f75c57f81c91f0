#include "play/pattern_form.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>

#include <QPainter>
#include <QPolygon>

#include "engine/pattern.h"

namespace quellon {

namespace {

const QColor kPatternBackground(0xC0, 0xC0, 0xC0);

} // namespace

TPatForm::TPatForm(const GameData& game, const SettingsValues& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      game_(game),
      settings_(settings)
{
    // A title bar without buttons: the player can neither close, shrink nor resize it.
    setObjectName(QStringLiteral("PatForm"));
    setFixedSize(clientSizeForPlacement());
    move(kDefaultPosition);
    setWindowTitle(caption());
}

void TPatForm::loadPosition(const SettingsStore& store)
{
    QPoint position(store.readInteger(SettingsStore::kSection, QStringLiteral("pleft"), kDefaultPosition.x()),
                    store.readInteger(SettingsStore::kSection, QStringLiteral("ptop"), kDefaultPosition.y()));
    // Kept on the desktop: a hand-edited position far outside it would hide
    // this always-on-top window for good.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->virtualGeometry();
        position.setX(std::clamp(position.x(), desktop.left(), std::max(desktop.left(), desktop.right() + 1 - width())));
        position.setY(std::clamp(position.y(), desktop.top(), std::max(desktop.top(), desktop.bottom() + 1 - height())));
    }
    move(position);
}

void TPatForm::savePosition(const SettingsStore& store) const
{
    const QPoint position = storedPosition();
    store.writeInteger(SettingsStore::kSection, QStringLiteral("pleft"), position.x());
    store.writeInteger(SettingsStore::kSection, QStringLiteral("ptop"), position.y());
}

QSize TPatForm::clientSizeForPlacement() const
{
    const PatternSize size = patternClientSize(settings_.patmode);
    return {size.width, size.height};
}

QString TPatForm::caption() const
{
    return QString::fromStdString(patternCaption(game_, settings_.language));
}

void TPatForm::showPattern()
{
    setFixedSize(clientSizeForPlacement());
    show();
}

void TPatForm::refresh()
{
    setWindowTitle(caption());
    update();
}

void TPatForm::showEvent(QShowEvent* event)
{
    // Every showing takes the size of the placement of the moment.
    setFixedSize(clientSizeForPlacement());
    setWindowTitle(caption());
    QWidget::showEvent(event);
}

void TPatForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPatternBackground);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    const int scale = patternScale(settings_.patmode);
    // The solution's own coordinates, scaled: the silhouette as the target.
    for (const PieceState& piece : game_.workingRecord().pieces) {
        QPolygon triangle;
        for (int corner = 0; corner < 3; ++corner) {
            const GridPoint point = pieceCorner(piece, corner);
            triangle << QPoint(point.x * scale, point.y * scale);
        }
        painter.drawPolygon(triangle);
    }
    setWindowTitle(caption());
}

} // namespace quellon
