#include "dialogs/select_dialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHash>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QPolygon>

#include "ui/art_render.h"
#include "ui/pixel_frame.h"
#include "engine/pattern.h"
#include "engine/selection.h"

namespace quellon {

namespace {

const QColor kFrameFill(0xC0, 0xC0, 0xC0);
const QColor kFinishedSilhouette(0x7F, 0x7F, 0x7F);
const QString kFaceStrip = QStringLiteral("faces.svg");
constexpr QSize kFaceStripSize{75, 15};

// The page area: paints through the dialog and hands presses to it.
class PageBox : public QWidget {
public:
    PageBox(QWidget* parent, TSelectDlg* dialog) : QWidget(parent), dialog_(dialog) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        dialog_->paintPage(painter);
    }
    void mousePressEvent(QMouseEvent* event) override { dialog_->boxMouseDown(event->position().toPoint()); }
    // The wheel over the pictures pages as it does over the slider.
    void wheelEvent(QWheelEvent* event) override { QCoreApplication::sendEvent(dialog_->slider(), event); }

private:
    TSelectDlg* dialog_;
};

// The slider's top end is the first page, so Home goes up to it and End down
// to the last page; a plain slider sends Home to its minimum, at the bottom.
class PageSlider : public QSlider {
public:
    explicit PageSlider(QWidget* parent) : QSlider(Qt::Vertical, parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
            triggerAction(event->key() == Qt::Key_Home ? SliderToMaximum : SliderToMinimum);
            event->accept();
            return;
        }
        QSlider::keyPressEvent(event);
    }
};

}  // namespace

TSelectDlg::TSelectDlg(const GameData& game, const SettingsValues& settings, QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      game_(game),
      settings_(settings),
      titleColumn_(addTitleColumn(background(), true, kClientSize.height() - 12)),
      p7(new TexturedPanel(background(), art::kContentTexture)),
      box(new PageBox(p7, this)),
      Scroll(new PageSlider(p7)),
      CancelBtn(new ImageButton(background(), art::kCrossFace, art::kCrossFaceOver, QSize(50, 50)))
{
    setObjectName(QStringLiteral("SelectDlg"));
    p7->setObjectName(QStringLiteral("p7"));
    p7->setGeometry(116, 12, 440, 353);
    box->setObjectName(QStringLiteral("box"));
    box->setGeometry(8, 8, 397, 337);
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setGeometry(407, 4, 25, 341);
    // A vertical slider has its maximum at the top: the first page.
    Scroll->setMinimum(1);
    Scroll->setSingleStep(kSelectLineStep);
    Scroll->setPageStep(kSelectPageStep);
    Scroll->setFocusPolicy(Qt::StrongFocus);
    Scroll->setStyleSheet(QStringLiteral(
        "QSlider::groove:vertical { background: #202040; width: 9px; border-radius: 4px; }"
        "QSlider::handle:vertical { background: #2EA6FE; height: 40px; margin: 0 -8px; border-radius: 5px; }"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->move(504, 371);
    connect(Scroll, &QSlider::valueChanged, box, [this] { box->update(); });
    connect(CancelBtn, &QAbstractButton::clicked, this, [this] { exitClick(); });
}

QPixmap TSelectDlg::faceStrip()
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const int side = qRound(kFaceSize * ratio);
    if (qFuzzyCompare(side, kFaceSize * ratio))
        return artPixmap(kFaceStrip, kFaceStripSize);
    // At a fractional scale the strip's own size would cut the faces at half
    // pixels, and each would show a sliver of its neighbour: drawn five
    // whole faces wide instead.
    static QHash<int, QPixmap> drawn;
    if (const auto found = drawn.constFind(side); found != drawn.constEnd())
        return *found;
    const QImage image = renderSvgArt(QStringLiteral(":/art/") + kFaceStrip, QSize(5 * side, side));
    if (image.isNull())
        return artPixmap(kFaceStrip, kFaceStripSize);
    QPixmap strip = QPixmap::fromImage(image);
    strip.setDevicePixelRatio(ratio);
    drawn.insert(side, strip);
    return strip;
}

int TSelectDlg::firstShown() const { return firstOnPage(game_.quellonCount, Scroll->value()); }

void TSelectDlg::FormActivate()
{
    titleColumn_.setProgramTexts();
    const bool german = settings_.language == kLanguageGerman;
    setWindowTitle(german ? QStringLiteral("Quellon w\u00e4hlen") : QStringLiteral("Select Quellon"));
    CancelBtn->setToolTip(german ? QStringLiteral("Abbruch") : QStringLiteral("Cancel"));
    setSpokenText(CancelBtn, CancelBtn->toolTip(),
                  german ? QStringLiteral("Kein anderes Quellon w\u00e4hlen")
                         : QStringLiteral("Keep the current Quellon"));
    setSpokenText(Scroll, german ? QStringLiteral("Seiten der Quellons") : QStringLiteral("Pages of Quellons"),
                  german ? QStringLiteral("Pfeiltasten: eine Reihe weiter, Bild auf und ab: eine Seite")
                         : QStringLiteral("Arrow keys: one row on, Page Up and Down: one page"));
    box->setToolTip(german ? QStringLiteral("Ein Mausklick und schon gehts mit diesem Quellon los.")
                           : QStringLiteral("A mouselick and the Quellon is selected."));
    // The page opens at the current Quellon, or is the last page when the
    // current one is among the last fifteen.
    Scroll->setMaximum(sliderMaximum(game_.quellonCount));
    Scroll->setValue(sliderValueFor(game_.quellonCount, game_.currentQuellon));
    box->update();
    Scroll->setFocus();
}

void TSelectDlg::paintPage(QPainter& painter) const
{
    const int first = firstShown();
    QFont numberFont(QStringLiteral("MS Sans Serif"));
    numberFont.setPixelSize(11);  // 8 point
    numberFont.setBold(true);
    painter.setFont(numberFont);
    const QPixmap faces = faceStrip();
    for (int cell = 0; cell < kSelectPageSize; ++cell) {
        const std::optional<int> shown = quellonInCell(game_.quellonCount, first, cell);
        if (!shown)
            continue;
        const int n = *shown;
        const int x0 = kSelectCellPitchX * (cell % kSelectColumns);
        const int y0 = kSelectCellPitchY * (cell / kSelectColumns);
        const QRect frame(x0, y0, kSelectFrameWidth, kSelectFrameHeight);
        painter.fillRect(frame, kFrameFill);
        fillFrame(painter, frame, 1, Qt::black);
        painter.setPen(QPen(Qt::black, 1));  // the number and the silhouette's edges
        painter.drawText(QRect(x0 + 3, y0 + 1, kSelectFrameWidth - 6, kSelectNumberStrip - 1),
                         Qt::AlignLeft | Qt::AlignTop, QString::number(n));

        const uint8_t progress = game_.progressTable[static_cast<size_t>(n)];
        if (const std::optional<int> face = faceOffset(progress)) {
            // Pixel for pixel, at a whole device pixel: the strip's faces are
            // whole device pixels wide (faceStrip).
            const qreal ratio = faces.devicePixelRatio();
            const int side = faces.height();
            const QPointF corner = QPointF((QPointF(x0 + 73, y0 + 2) * ratio).toPoint()) / ratio;
            painter.drawPixmap(corner, faces, QRectF(*face / kFaceSize * side, 0, side, side));
        }

        // One grid unit is one pixel; the silhouette sits below the number.
        painter.setBrush(isFinished(progress) ? kFinishedSilhouette : QColor(Qt::black));
        for (const PieceState& piece : game_.catalogue[static_cast<size_t>(n)].pieces) {
            QPolygon triangle;
            for (int corner = 0; corner < 3; ++corner) {
                const GridPoint point = pieceCorner(piece, corner);
                triangle << QPoint(x0 + point.x, y0 + kSelectNumberStrip + point.y);
            }
            painter.drawPolygon(triangle);
        }
    }
}

void TSelectDlg::boxMouseDown(QPoint point)
{
    // Only a cell that shows a Quellon can be chosen; the gaps count for the
    // cell before them.
    const std::optional<int> chosen = quellonAt(game_.quellonCount, firstShown(), point.x(), point.y());
    if (!chosen)
        return;
    chosen_ = *chosen;
    finish(DialogResult::Ok);
}

std::optional<int> TSelectDlg::chooseQuellon()
{
    if (exec() != static_cast<int>(DialogResult::Ok))
        return std::nullopt;
    return chosen_;
}

std::optional<DialogResult> TSelectDlg::resultOfKey(int key) const
{
    if (key == Qt::Key_Escape || key == Qt::Key_N)
        return DialogResult::Cancel;
    return std::nullopt;
}

}  // namespace quellon
