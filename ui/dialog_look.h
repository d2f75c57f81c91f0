// The look every dialog of the game shares: frameless windows whose background
// is a black bevelled frame around a tiled texture, image buttons with a
// normal and a mouse-over face, the upright texts of the larger dialogs, and
// the rule that places a dialog over the main window.
//
// Typical use by a dialog:
//
//   class TStatDlg : public FramelessDialog {
//       TStatDlg(QWidget* parent) : FramelessDialog(parent, QSize(500, 400)) {
//           auto* p7 = new TexturedPanel(this, art::kContentTexture);
//           p7->setGeometry(...);
//           auto* ok = new ImageButton(this, art::kTickFace, art::kTickFaceOver, {50, 50});
//           connect(ok, &QAbstractButton::clicked, this, [this] { finish(DialogResult::Ok); });
//       }
//       void FormActivate() override { /* texts of the moment */ }
//       std::optional<DialogResult> resultOfKey(int key) const override { ... }
//       std::optional<DialogResult> resultOfClose() const override { return DialogResult::Cancel; }
//   };
//
// FramelessDialog places itself over the main window, its parent, every
// time it is shown; exec() returns a DialogResult value.
#pragma once

#include <optional>

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QEnterEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QShowEvent>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace quellon {

// The result every modal dialog of the game hands back (QDialog::exec()).
enum class DialogResult : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// File names of the embedded pictures, ":/art/<name>".
namespace art {
inline const QString kDialogTexture = QStringLiteral("texture-dialog.svg");  // background panel tile
inline const QString kContentTexture = QStringLiteral("texture-panel.svg");  // p7 / p10 / Pan tile
inline const QString kTitlePicture = QStringLiteral("title.svg");            // 105 x 77
inline const QString kTickFace = QStringLiteral("button-ok-normal.svg");     // 50 x 50
inline const QString kTickFaceOver = QStringLiteral("button-ok-hover.svg");
inline const QString kCrossFace = QStringLiteral("button-cancel-normal.svg");
inline const QString kCrossFaceOver = QStringLiteral("button-cancel-hover.svg");
inline constexpr QSize kTextureTile{100, 100};
inline constexpr QSize kTitleSize{105, 77};
}  // namespace art

// True when ":/art/<file>" is embedded in the program.
bool artExists(const QString& file);

// The picture ":/art/<file>" rendered at exactly `size` device-independent
// pixels (sharp on high-DPI screens). The pictures listed in
// resources/art/prerendered.txt come drawn at build time for ratios 1 and 2,
// as parsing and drawing SVG was most of the start-up's work; any other SVG
// is rendered at run time (renderSvgArt), a PNG scaled. When the file is
// missing the result is a plain `fallback` square, so a window stays usable
// while its artwork is absent.
QPixmap artPixmap(const QString& file, QSize size, const QColor& fallback = QColor(0x40, 0x40, 0x40));
// "<file>@<width>x<height>@<ratio>" of every picture artPixmap has drawn from
// SVG while running, in order: what the build did not draw ahead.
QStringList artRenderedAtRunTime();

// The face of the dialogs' texts, at a pixel size: Liberation Sans, whose
// letters take exactly the room Arial's do, so that texts laid out for Arial
// fit on every machine; Arial itself where Liberation Sans is missing.
QFont dialogFont(int pixelSize, bool bold);

// Sets a label's text and shrinks its font, from the size it was styled with,
// until the text fits the label (wrapped when the label wraps). Texts that
// fit keep the styled size.
void setFittedText(QLabel* label, const QString& text);
// Whether the label's text needs no more room than the label has at `font`.
bool textFitsLabel(const QLabel* label, const QFont& font);

// Draws the frame every panel of the dialogs has: a raised outer bevel of
// 2 px, a black border of 3 px and a lowered inner bevel of 2 px. Returns the
// rectangle left inside it.
QRect drawBevelFrame(QPainter& painter, QRect outer);

// A panel with the bevelled black frame around a tiled texture.
class TexturedPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameWidth = 7;  // 2 + 3 + 2

    explicit TexturedPanel(QWidget* parent, const QString& textureFile = art::kDialogTexture,
                           QSize tileSize = art::kTextureTile);
    void setTexture(const QString& textureFile, QSize tileSize = art::kTextureTile);
    // The area inside the frame, for children that should not cover it.
    QRect innerRect() const { return rect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString texture_;
    QSize tileSize_;
};

// A button drawn only by its two faces: the normal one, and another while the
// mouse is over it and it can take a click (its window not hidden or blocked
// by a modal dialog). Transparent parts of the faces show what lies beneath.
class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    ImageButton(QWidget* parent, const QString& normalFace, const QString& hoverFace, QSize size);
    void setFaces(const QString& normalFace, const QString& hoverFace);
    // Face shown while the button is disabled; without one it is greyed.
    void setDisabledFace(const QString& disabledFace);
    bool isHovered() const { return hovered_; }
    QSize sizeHint() const override { return faceSize_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);
    bool pointerIsOver() const;

    QString normalFace_;
    QString hoverFace_;
    QString disabledFace_;
    QSize faceSize_;
    bool hovered_ = false;
};

// Text that reads from bottom to top (turned by 90 degrees), as the program
// name and version at the left of the larger dialogs. With `raised` the text
// gets a black three-dimensional edge.
class UprightLabel : public QWidget {
    Q_OBJECT
public:
    UprightLabel(QWidget* parent, int pixelSize, bool raised);
    void setText(const QString& text);
    QString text() const { return text_; }
    // The font the text is drawn in: the label's size, smaller when the text
    // would not fit the label's length.
    QFont textFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    int pixelSize_;
    bool raised_;
};

// The placement rule of the dialogs, integer division truncating toward zero:
// centred horizontally over the main window's frame, vertically over its
// client area when the whole frame height lies above the client area.
QPoint placeOverMain(const QRect& mainFrame, int mainClientHeight, QSize dialogSize);
// The window a dialog is placed over: the window of its parent, the main
// window for every dialog of the game; none for a dialog without a parent.
QWidget* mainWindowOf(const QWidget* dialog);
// Moves `dialog` by that rule over mainWindowOf(dialog), a frameless one by
// its own size; nothing when there is none.
void placeOverMain(QWidget* dialog);

// What a screen reader says of a control: its name and, as its description,
// what it does. Set once the windows are up: the first accessibility call
// starts the platform's bridge.
void setSpokenText(QWidget* control, const QString& name, const QString& description);

// Enter, J (ja) and Y (yes): the keys that confirm every dialog.
bool isConfirmKey(int key);

// A frameless modal dialog whose whole client area is a TexturedPanel, with
// what every dialog of the game does alike:
// - each time it is shown it is placed (place()), then fills its texts and
//   takes its focus (FormActivate());
// - a key its focused control leaves unused closes it with the result
//   resultOfKey() gives, or does nothing; either way the key ends here, so
//   QDialog's own Escape (reject) and Enter (default button) never act;
// - a close from outside its buttons and keys (the window manager's close,
//   Alt+F4) ends it with resultOfClose(), or is refused when that gives none.
// So exec() returns a DialogResult value however the dialog ends.
class FramelessDialog : public QDialog {
    Q_OBJECT
public:
    FramelessDialog(QWidget* parent, QSize clientSize, const QString& textureFile = art::kDialogTexture);
    TexturedPanel* background() const { return background_; }
    // Closes the dialog; exec() returns `result`.
    void finish(DialogResult result) { done(static_cast<int>(result)); }
    // The options, load and save dialogs are placed only while the main
    // window is visible; the others always.
    void setPlaceOnlyOverVisibleMain(bool onlyVisible) { onlyOverVisibleMain_ = onlyVisible; }

    void reject() final;

protected:
    // Over the main window (placeOverMain).
    virtual void place();
    // The texts in the language of the moment, the focus; after place().
    virtual void FormActivate() {}
    virtual std::optional<DialogResult> resultOfKey(int key) const = 0;
    virtual std::optional<DialogResult> resultOfClose() const = 0;

    void showEvent(QShowEvent* event) final;
    void keyPressEvent(QKeyEvent* event) final;

private:
    TexturedPanel* background_;
    bool onlyOverVisibleMain_ = false;
};

}  // namespace quellon
