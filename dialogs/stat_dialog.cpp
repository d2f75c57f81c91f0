#include "dialogs/stat_dialog.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace quellon {

namespace {

const QColor kGaugeBackground(0xA0, 0xA0, 0xA0);

QLabel* sentenceLabel(QWidget* parent, const char* name, int y, int height)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(12, y, 393, height);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    styleWhiteLabel(label, 16, false);
    return label;
}

// A gauge as a screen reader knows it: a progress bar from 0 to 100.
class GaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit GaugeAccessible(StatGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? gauge()->percentText() : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return gauge()->percent(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    StatGauge* gauge() const { return static_cast<StatGauge*>(widget()); }
};

QAccessibleInterface* gaugeAccessible(const QString&, QObject* object)
{
    auto* gauge = qobject_cast<StatGauge*>(object);
    return gauge != nullptr ? new GaugeAccessible(gauge) : nullptr;
}

class BarArea : public QWidget {
public:
    BarArea(QWidget* parent, const TStatDlg* dialog) : QWidget(parent), dialog_(dialog) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        dialog_->pieBoxPaint(painter);
    }

private:
    const TStatDlg* dialog_;
};

}  // namespace

StatGauge::StatGauge(QWidget* parent, const QColor& barColour) : QWidget(parent), barColour_(barColour)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(gaugeAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void StatGauge::setProgress(int progress, int maximum)
{
    percent_ = gaugePercent(progress, maximum);
    update();
}

void StatGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kGaugeBackground);
    painter.fillRect(QRect(0, 0, width() * percent_ / 100, height()), barColour_);
    // White drawn as a difference turns every pixel beneath into its inverse.
    painter.setFont(dialogFont(13, false));
    painter.setPen(Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.drawText(rect(), Qt::AlignCenter, percentText());
}

TStatDlg::TStatDlg(const GameData& game, const SettingsValues& settings, QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      game_(game),
      settings_(settings),
      titleColumn_(addTitleColumn(background(), true, kClientSize.height() - 12)),
      p7(new TexturedPanel(background(), art::kContentTexture)),
      TitleLabel(new QLabel(p7)),
      L1(sentenceLabel(p7, "L1", 36, 45)),
      G1(new StatGauge(p7, QColor(0x00, 0x80, 0xFF))),
      L2(sentenceLabel(p7, "L2", 108, 81)),
      pieBox(new BarArea(p7, this)),
      L3(sentenceLabel(p7, "L3", 224, 45)),
      G2(new StatGauge(p7, QColor(0x00, 0xFF, 0x00))),
      OKBtn(new ImageButton(background(), art::kTickFace, art::kTickFaceOver, QSize(50, 50)))
{
    setObjectName(QStringLiteral("StatDlg"));
    p7->setObjectName(QStringLiteral("p7"));
    p7->setGeometry(116, 12, 417, 333);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setGeometry(11, 8, 346, 29);
    styleWhiteLabel(TitleLabel, 19, true);
    setFittedText(TitleLabel, QStringLiteral("Statistik"));  // in both languages
    G1->setObjectName(QStringLiteral("G1"));
    G1->setGeometry(12, 88, 393, 18);
    pieBox->setObjectName(QStringLiteral("pieBox"));
    pieBox->setGeometry(12, 196, 393, 29);
    G2->setObjectName(QStringLiteral("G2"));
    G2->setGeometry(12, 276, 393, 18);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->move(484, 355);
    connect(OKBtn, &QAbstractButton::clicked, this, [this] { exitClick(); });
}

QLabel* TStatDlg::sentence(int index) const
{
    switch (index) {
    case 1:
        return L1;
    case 2:
        return L2;
    case 3:
        return L3;
    default:
        return nullptr;
    }
}

void TStatDlg::FormActivate()
{
    titleColumn_.setProgramTexts();
    totals_ = countProgress(game_);
    G1->setProgress(totals_.finished, totals_.quellonCount);
    G2->setProgress(totals_.points, totals_.possiblePoints());
    const int language = settings_.language;
    setWindowTitle(language == kLanguageGerman ? QStringLiteral("Quellon Statistik")
                                               : QStringLiteral("Quellon statistics"));
    setFittedText(L1, QString::fromStdString(finishedSentence(totals_, language)));
    setFittedText(L2, QString::fromStdString(helpSentence(totals_, language)));
    setFittedText(L3, QString::fromStdString(pointsSentence(totals_, language)));
    pieBox->update();
    const bool german = language == kLanguageGerman;
    setSpokenText(G1, german ? QStringLiteral("Fertige Quellons") : QStringLiteral("Finished Quellons"), L1->text());
    setSpokenText(G2, german ? QStringLiteral("Erreichte Punkte") : QStringLiteral("Points reached"), L3->text());
    setSpokenText(OKBtn, QStringLiteral("OK"),
                  german ? QStringLiteral("Zur\u00fcck zum Spiel") : QStringLiteral("Back to the game"));
}

void TStatDlg::pieBoxPaint(QPainter& painter) const
{
    // Laid out over 410 pixels, so the end is cut off by the area's edge.
    for (const BarSegment& segment : barSegments(totals_))
        painter.fillRect(QRect(QPoint(segment.first, 0), QPoint(segment.last, 17)),
                         QColor::fromRgb(static_cast<QRgb>(levelColour(segment.level))));
}

std::optional<DialogResult> TStatDlg::resultOfKey(int key) const
{
    return isConfirmKey(key) ? std::optional(DialogResult::Ok) : std::nullopt;
}

}  // namespace quellon
