// The shared look of the dialogs: artwork loading, bevelled panels, image
// buttons, upright labels and the placement over the main window.
#include "ui/dialog_look.h"

#include "ui/art_render.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QVariant>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPaintEvent>
#include <QPainterPath>
#include <QPointer>
#include <QShowEvent>

namespace quellon {

namespace {

QString artPath(const QString& file) { return QStringLiteral(":/art/") + file; }

// The pixel size a label was styled with, kept so that a shorter text after a
// long one grows back to it.
const char* const kStyledPixelSize = "quellonStyledPixelSize";
constexpr int kSmallestPixelSize = 8;

// Keys of the pictures drawn from SVG while the game runs.
QStringList& renderedAtRunTime()
{
    static QStringList keys;
    return keys;
}

// The picture as the build drew it, for the ratios it draws; a null image
// for any other ratio or a picture it did not draw.
QImage prerenderedArt(const QString& file, QSize size, qreal ratio)
{
    const int whole = qRound(ratio);
    if (whole != ratio || std::ranges::find(kPrerenderedRatios, whole) == std::ranges::end(kPrerenderedRatios))
        return {};
    QFile stored(QStringLiteral(":/prerendered/") + prerenderedArtName(file, size, whole));
    if (!stored.open(QIODevice::ReadOnly))
        return {};
    return decodeArtImage(stored.readAll());
}

}  // namespace

bool artExists(const QString& file) { return QFile::exists(artPath(file)); }

QPixmap artPixmap(const QString& file, QSize size, const QColor& fallback)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const QString key = file + QLatin1Char('@') + QString::number(size.width()) + QLatin1Char('x') +
                        QString::number(size.height()) + QLatin1Char('@') + QString::number(ratio);
    static QHash<QString, QPixmap> cache;
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;

    const QSize pixels = size * ratio;
    QImage image = prerenderedArt(file, size, ratio);
    const QString path = artPath(file);
    if (image.size() == pixels) {
        // Drawn at build time, bit for bit what the renderer below makes.
    } else if (!QFile::exists(path)) {
        image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(fallback);
    } else if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        image = renderSvgArt(path, pixels);
        renderedAtRunTime().append(key);
    } else {
        image = QImage(path).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    cache.insert(key, pixmap);
    return pixmap;
}

QStringList artRenderedAtRunTime() { return renderedAtRunTime(); }

QFont dialogFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

bool textFitsLabel(const QLabel* label, const QFont& font)
{
    const QRect room = label->contentsRect();
    int flags = static_cast<int>(label->alignment());
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 100000), flags, label->text());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

void setFittedText(QLabel* label, const QString& text)
{
    label->setText(text);
    QFont font = label->font();
    QVariant styled = label->property(kStyledPixelSize);
    if (!styled.isValid()) {
        styled = font.pixelSize();
        label->setProperty(kStyledPixelSize, styled);
    }
    int size = styled.toInt();
    for (; size > kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        if (textFitsLabel(label, font))
            break;
    }
    font.setPixelSize(size);
    label->setFont(font);
}

QRect drawBevelFrame(QPainter& painter, QRect outer)
{
    // Raised outer bevel: light edges top and left, dark ones bottom and right.
    const QColor light(0x9C, 0x9C, 0x9C);
    const QColor lighter(0x6A, 0x6A, 0x6A);
    const QColor dark(0x10, 0x10, 0x10);
    const QColor darker(0x28, 0x28, 0x28);
    auto bevel = [&painter](QRect r, const QColor& topLeft, const QColor& bottomRight) {
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
        painter.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 1, 1), bottomRight);
        painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 1), bottomRight);
    };
    QRect r = outer;
    bevel(r, light, dark);
    r.adjust(1, 1, -1, -1);
    bevel(r, lighter, darker);
    r.adjust(1, 1, -1, -1);
    // The black border, 3 px.
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 3), Qt::black);
    painter.fillRect(QRect(r.left(), r.bottom() - 2, r.width(), 3), Qt::black);
    painter.fillRect(QRect(r.left(), r.top(), 3, r.height()), Qt::black);
    painter.fillRect(QRect(r.right() - 2, r.top(), 3, r.height()), Qt::black);
    r.adjust(3, 3, -3, -3);
    // Lowered inner bevel.
    bevel(r, darker, lighter);
    r.adjust(1, 1, -1, -1);
    bevel(r, dark, light);
    return r.adjusted(1, 1, -1, -1);
}

TexturedPanel::TexturedPanel(QWidget* parent, const QString& textureFile, QSize tileSize)
    : QWidget(parent),
      texture_(textureFile),
      tileSize_(tileSize)
{}

void TexturedPanel::setTexture(const QString& textureFile, QSize tileSize)
{
    texture_ = textureFile;
    tileSize_ = tileSize;
    update();
}

void TexturedPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inner = drawBevelFrame(painter, rect());
    painter.drawTiledPixmap(inner, artPixmap(texture_, tileSize_, QColor(0x30, 0x30, 0x50)),
                            QPoint(inner.left() % tileSize_.width(), inner.top() % tileSize_.height()));
}

ImageButton::ImageButton(QWidget* parent, const QString& normalFace, const QString& hoverFace, QSize size)
    : QAbstractButton(parent),
      normalFace_(normalFace),
      hoverFace_(hoverFace),
      faceSize_(size)
{
    setFixedSize(size);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::setFaces(const QString& normalFace, const QString& hoverFace)
{
    normalFace_ = normalFace;
    hoverFace_ = hoverFace;
    update();
}

void ImageButton::setDisabledFace(const QString& disabledFace)
{
    disabledFace_ = disabledFace;
    update();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!isEnabled() && !disabledFace_.isEmpty()) {
        painter.drawPixmap(0, 0, artPixmap(disabledFace_, faceSize_, QColor(0x50, 0x50, 0x50)));
        return;
    }
    const bool over = hovered_ && isEnabled();
    painter.drawPixmap(0, 0,
                       artPixmap(over ? hoverFace_ : normalFace_, faceSize_,
                                 over ? QColor(0xA0, 0xA0, 0xA0) : QColor(0x70, 0x70, 0x70)));
    if (isDown()) {
        // A pressed button sinks by a shade so a click is felt.
        painter.fillRect(rect(), QColor(0, 0, 0, 60));
    }
    if (!isEnabled())
        painter.fillRect(rect(), QColor(0x80, 0x80, 0x80, 140));
}

void ImageButton::setHovered(bool hovered)
{
    if (hovered_ == hovered)
        return;
    hovered_ = hovered;
    update();
}

bool ImageButton::pointerIsOver() const
{
    const QPoint pointer = QCursor::pos();
    return isVisible() && rect().contains(mapFromGlobal(pointer)) && QApplication::widgetAt(pointer) == this;
}

void ImageButton::enterEvent(QEnterEvent* event)
{
    // Only where the pointer really is: after a click that ran a dialog, the
    // toolkit enters the button it last saw under the pointer once the
    // dialog has gone, wherever the dialog left the pointer.
    setHovered(pointerIsOver());
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

bool ImageButton::event(QEvent* event)
{
    // The pointer's leaving is not reported to a hidden window, nor to one a
    // modal dialog blocks; the face would stay lit with the pointer far away.
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowBlocked:
        setHovered(false);
        break;
    case QEvent::WindowUnblocked:
        setHovered(pointerIsOver());
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

void ImageButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

UprightLabel::UprightLabel(QWidget* parent, int pixelSize, bool raised)
    : QWidget(parent),
      pixelSize_(pixelSize),
      raised_(raised)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void UprightLabel::setText(const QString& text)
{
    text_ = text;
    update();
}

QFont UprightLabel::textFont() const
{
    // Turned, the label's height is the text's length and its width the
    // text's height; the raised edge takes two pixels more.
    const int edge = raised_ ? 2 : 0;
    QFont font = dialogFont(pixelSize_, true);
    for (int size = pixelSize_; size > kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(text_) + edge <= height() && metrics.height() + edge <= width())
            break;
    }
    return font;
}

void UprightLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(textFont());
    // Turn so that the text runs from the bottom edge upward.
    painter.translate(0, height());
    painter.rotate(-90);
    const QRect area(0, 0, height(), width());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    if (raised_) {
        painter.setPen(QColor(0x60, 0x60, 0x60));
        painter.drawText(area.translated(-1, -1), flags, text_);
        painter.setPen(Qt::black);
        painter.drawText(area.translated(2, 2), flags, text_);
        painter.drawText(area.translated(1, 1), flags, text_);
    }
    painter.setPen(Qt::white);
    painter.drawText(area, flags, text_);
}

QWidget* mainWindowOf(const QWidget* dialog)
{
    return dialog != nullptr && dialog->parentWidget() != nullptr ? dialog->parentWidget()->window() : nullptr;
}

QPoint placeOverMain(const QRect& mainFrame, int mainClientHeight, QSize dialogSize)
{
    // C++ integer division truncates toward zero, as the rule asks.
    const int left = mainFrame.left() + (mainFrame.width() - dialogSize.width()) / 2;
    const int top = mainFrame.top() + mainFrame.height() - (mainClientHeight + dialogSize.height()) / 2;
    return {left, top};
}

void placeOverMain(QWidget* dialog)
{
    const QWidget* main = mainWindowOf(dialog);
    if (!main || !dialog)
        return;
    // A frameless dialog's outer rectangle is its own. Asked for its frame
    // instead, the X11 toolkit measures the window tree when the window
    // manager has not published the dialog's frame, and while openbox was
    // still framing or unframing it (its frames are made 1 x 1 and sized
    // later) that read a frame of about 1 x 1: centred by that size, the
    // dialog's corner landed on the main window's centre. Its own size is
    // known from its making, and its client area is placed, so that no
    // frame margin enters at all.
    if (dialog->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        dialog->setGeometry(
            QRect(placeOverMain(main->frameGeometry(), main->height(), dialog->size()), dialog->size()));
        return;
    }
    dialog->move(placeOverMain(main->frameGeometry(), main->height(), dialog->frameGeometry().size()));
}

FramelessDialog::FramelessDialog(QWidget* parent, QSize clientSize, const QString& textureFile)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      background_(new TexturedPanel(this, textureFile))
{
    setModal(true);
    setFixedSize(clientSize);
    background_->setGeometry(0, 0, clientSize.width(), clientSize.height());
}

void FramelessDialog::place()
{
    const QWidget* main = mainWindowOf(this);
    if (main && (!onlyOverVisibleMain_ || main->isVisible()))
        placeOverMain(this);
}

void FramelessDialog::showEvent(QShowEvent* event)
{
    place();
    QDialog::showEvent(event);
    FormActivate();
}

void FramelessDialog::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (const std::optional<DialogResult> result = resultOfKey(event->key()))
        finish(*result);
}

void FramelessDialog::reject()
{
    if (const std::optional<DialogResult> result = resultOfClose())
        finish(*result);
}

void setSpokenText(QWidget* control, const QString& name, const QString& description)
{
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

bool isConfirmKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_J || key == Qt::Key_Y;
}

}  // namespace quellon
