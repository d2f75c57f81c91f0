// The tool bar of the main window.
#include "play/tool_bar.h"

#include <algorithm>

#include <QPainter>

#include "play/tool_buttons.h"
#include "ui/dialog_look.h"

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

    for (const ToolButtonRow& row : kToolButtons) {
        const QString face = QString::fromLatin1(row.face);
        auto* button =
            new ImageButton(this, face + QStringLiteral("-normal.svg"), face + QStringLiteral("-hover.svg"), row.size);
        button->setObjectName(QLatin1String(row.name));
        if (row.disabledFace)
            button->setDisabledFace(face + QStringLiteral("-disabled.svg"));
        // Those placed from the right edge find it at the first layOut.
        button->move(std::max(row.place.x(), 0), row.place.y());
        buttons_.push_back(button);
    }
}

ImageButton* ToolBar::button(void (TMainform::*command)()) const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (kToolButtons[i].command == command)
            return buttons_[i];
    return nullptr;
}

void ToolBar::layOut(int width, int height)
{
    setGeometry(0, 0, width, height);
    ToolBox->setGeometry(0, 0, width, height);
    ToolBox->lower();
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (const QPoint place = kToolButtons[i].place; place.x() < 0)
            buttons_[i]->move(width + place.x(), place.y());
}

void ToolBar::applyHints(bool german)
{
    // A screen reader says the short name and gives the hint as what the
    // button does.
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const ToolButtonRow& row = kToolButtons[i];
        const QString text = QString::fromUtf8(german ? row.germanHint : row.englishHint);
        buttons_[i]->setToolTip(text);
        setSpokenText(buttons_[i], QString::fromUtf8(german ? row.germanName : row.englishName), text);
    }
}

void ToolBar::repaintTiles() { ToolBox->update(); }

}  // namespace quellon
