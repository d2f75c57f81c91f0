// The statistics dialog: how many Quellons are finished, with how much help,
// and the points earned, in three sentences, two gauges and a stacked bar.
// Everything is counted afresh at every showing; nothing is changed.
#pragma once

#include <QLabel>

#include "ui/dialog_look.h"
#include "dialogs/title_column.h"
#include "engine/game_data.h"
#include "engine/statistics.h"
#include "engine/settings_values.h"

namespace quellon {

// A frameless bar gauge whose percentage is written in the inverse colours.
class StatGauge : public QWidget {
    Q_OBJECT
public:
    StatGauge(QWidget* parent, const QColor& barColour);
    void setProgress(int progress, int maximum);
    int percent() const { return percent_; }
    QString percentText() const { return QString::number(percent_) + QLatin1Char('%'); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor barColour_;
    int percent_ = 0;
};

class TStatDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{544, 416};

    TStatDlg(const GameData& game, const SettingsValues& settings, QWidget* parent = nullptr);

    const ProgressTotals& totals() const { return totals_; }
    QLabel* sentence(int index) const;  // 1..3: L1, L2, L3
    StatGauge* finishedGauge() const { return G1; }
    StatGauge* pointsGauge() const { return G2; }
    QWidget* barArea() const { return pieBox; }
    ImageButton* okButton() const { return OKBtn; }

    // Draws the stacked bar onto a painter whose origin is the bar area's corner.
    void pieBoxPaint(QPainter& painter) const;

protected:
    void FormActivate() override;
    // Only the confirming keys close it, with Ok; Escape leaves it open.
    std::optional<DialogResult> resultOfKey(int key) const override;
    // As its tick button.
    std::optional<DialogResult> resultOfClose() const override { return DialogResult::Cancel; }

private:
    void exitClick() { finish(DialogResult::Cancel); }

    const GameData& game_;
    const SettingsValues& settings_;
    ProgressTotals totals_;
    TitleColumn titleColumn_;
    TexturedPanel* p7;
    QLabel* TitleLabel;
    QLabel* L1;
    StatGauge* G1;
    QLabel* L2;
    QWidget* pieBox;
    QLabel* L3;
    StatGauge* G2;
    ImageButton* OKBtn;
};

}  // namespace quellon
