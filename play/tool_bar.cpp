// The tool bar of the main window.
#include "play/tool_bar.h"

#include <algorithm>

#include <QPainter>

#include "ui/dialog_look.h"
#include "engine/window_texts.h"

namespace quellon {

namespace {

constexpr QSize kBackgroundSheetRow{200, 100};
constexpr int kTile = 100;

// The tool bar's paint area: the tool-bar tile of the current background.
class ToolBarArea : public QWidget {
public:
    ToolBarArea(QWidget* parent, const SettingsValues& settings) : QWidget(parent), settings_(settings)
    {
        setObjectName(QStringLiteral("ToolBox"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QPixmap tile = backgroundTile(settings_.background, true);
        for (int i = 0; i <= width() / kTile; ++i)
            painter.drawPixmap(i * kTile, 0, tile);
    }

private:
    const SettingsValues& settings_;
};

}  // namespace

// Column 0 of a background's row holds the window tile, column 1 the
// tool-bar tile.
QPixmap backgroundTile(int background, bool toolBar)
{
    const int row = std::clamp(background, 0, kBackgroundCount - 1);
    const QPixmap sheet = artPixmap(QStringLiteral("background-%1.svg").arg(row), kBackgroundSheetRow,
                                    toolBar ? QColor(0x80, 0, 0) : QColor(0x60, 0x50, 0x40));
    const qreal ratio = sheet.devicePixelRatio();
    QPixmap tile = sheet.copy(QRectF(toolBar ? kTile * ratio : 0, 0, kTile * ratio, kTile * ratio).toRect());
    tile.setDevicePixelRatio(ratio);
    return tile;
}

ToolBar::ToolBar(QWidget* parent, const SettingsValues& settings) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolPanel"));
    setAutoFillBackground(true);
    QPalette toolPalette = palette();
    toolPalette.setColor(QPalette::Window, QColor(0x80, 0, 0));
    setPalette(toolPalette);
    ToolBox = new ToolBarArea(this, settings);

    const QSize big(50, 50);
    const QSize half(50, 25);
    NewGameBtn = makeButton(QStringLiteral("NewGameBtn"), QStringLiteral("tool-newgame"), {5, 6}, big, true);
    LoadBtn = makeButton(QStringLiteral("LoadBtn"), QStringLiteral("tool-load"), {58, 6}, big, true);
    StatBtn = makeButton(QStringLiteral("StatBtn"), QStringLiteral("tool-stats"), {111, 6}, big, true);
    TipBtn = makeButton(QStringLiteral("TipBtn"), QStringLiteral("tool-help"), {164, 6}, big, true);
    SelectBtn = makeButton(QStringLiteral("SelectBtn"), QStringLiteral("tool-select"), {218, 6}, big, true);
    UpBtn = makeButton(QStringLiteral("UpBtn"), QStringLiteral("tool-next"), {270, 6}, half, false);
    DnBtn = makeButton(QStringLiteral("DnBtn"), QStringLiteral("tool-prev"), {270, 30}, half, false);
    UnsolvedUpBtn =
        makeButton(QStringLiteral("UnsolvedUpBtn"), QStringLiteral("tool-next-unsolved"), {323, 6}, half, false);
    UnsolvedDnBtn =
        makeButton(QStringLiteral("UnsolvedDnBtn"), QStringLiteral("tool-prev-unsolved"), {323, 30}, half, false);
    OptionBtn = makeButton(QStringLiteral("OptionBtn"), QStringLiteral("tool-options"), {0, 6}, big, false);
    InfoBtn = makeButton(QStringLiteral("InfoBtn"), QStringLiteral("tool-info"), {0, 6}, big, false);
    RulesBtn = makeButton(QStringLiteral("RulesBtn"), QStringLiteral("tool-rules"), {0, 6}, big, false);
    ExitBtn = makeButton(QStringLiteral("ExitBtn"), QStringLiteral("tool-exit"), {0, 6}, big, false);
}

ImageButton* ToolBar::makeButton(const QString& name, const QString& face, QPoint place, QSize size,
                                 bool hasDisabledFace)
{
    auto* button =
        new ImageButton(this, face + QStringLiteral("-normal.svg"), face + QStringLiteral("-hover.svg"), size);
    button->setObjectName(name);
    if (hasDisabledFace)
        button->setDisabledFace(face + QStringLiteral("-disabled.svg"));
    button->move(place);
    return button;
}

void ToolBar::layOut(int width, int height)
{
    setGeometry(0, 0, width, height);
    ToolBox->setGeometry(0, 0, width, height);
    ToolBox->lower();
    OptionBtn->move(width - 208, 6);
    InfoBtn->move(width - 156, 6);
    RulesBtn->move(width - 104, 6);
    ExitBtn->move(width - 52, 6);
}

void ToolBar::applyHints(bool german)
{
    // A screen reader says the short name and gives the hint as what the
    // button does.
    for (const ButtonHint& hint : kButtonHints)
        if (auto* button = findChild<ImageButton*>(QLatin1String(hint.button))) {
            const QString text = QString::fromUtf8(german ? hint.german : hint.english);
            button->setToolTip(text);
            setSpokenText(button, QString::fromUtf8(german ? hint.germanName : hint.englishName), text);
        }
}

void ToolBar::repaintTiles() { ToolBox->update(); }

}  // namespace quellon
