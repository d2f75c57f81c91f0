#include "dialogs/load_game_dialog.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <functional>

#include "dialogs/title_column.h"
#include "engine/saved_games.h"

namespace quellon {

namespace {

// The list answers a keyboard move onto another line at once, as a click does;
// a line that merely becomes current when the list gets the focus does not count.
class NameList : public QListWidget {
public:
    explicit NameList(QWidget* parent) : QListWidget(parent) {}
    std::function<void(int)> chosen;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        // Getting the focus must not pick a line: the first key press does.
        const bool hadCurrent = currentRow() >= 0;
        QListWidget::focusInEvent(event);
        if (!hadCurrent)
            setCurrentRow(-1);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() != before && currentRow() >= 0 && chosen)
            chosen(currentRow());
    }
};

}  // namespace

TLoadGameDlg::TLoadGameDlg(const GameData& game, const SettingsValues& settings, QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      game_(game),
      settings_(settings),
      p7(new TexturedPanel(background(), art::kContentTexture)),
      WhatLabel(new QLabel(p7)),
      NameListBox(new NameList(p7)),
      CancelBtn(new ImageButton(background(), art::kCrossFace, art::kCrossFaceOver, QSize(50, 50)))
{
    setObjectName(QStringLiteral("LoadGameDlg"));
    setPlaceOnlyOverVisibleMain(true);
    p7->setObjectName(QStringLiteral("p7"));
    p7->setGeometry(12, 12, 333, 333);
    WhatLabel->setObjectName(QStringLiteral("WhatLabel"));
    WhatLabel->setGeometry(8, 12, 270, 19);
    styleWhiteLabel(WhatLabel, 16, true);
    NameListBox->setObjectName(QStringLiteral("NameListBox"));
    NameListBox->setGeometry(12, 40, 309, 281);
    NameListBox->setFrameShape(QFrame::NoFrame);
    NameListBox->setFont(dialogFont(16, true));
    NameListBox->setStyleSheet(QStringLiteral("QListWidget { color: black; background: white; }"
                                              "QListWidget::item { height: 19px; }"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->move(296, 356);
    static_cast<NameList*>(NameListBox)->chosen = [this](int row) { NameListBoxClick(row); };
    connect(NameListBox, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { NameListBoxClick(NameListBox->row(item)); });
    connect(CancelBtn, &QAbstractButton::clicked, this, [this] { CancelBtnClick(); });
}

void TLoadGameDlg::FormActivate()
{
    fillNameList();
    const LoadDialogTexts texts = loadDialogTexts(settings_.language);
    setFittedText(WhatLabel, QString::fromStdString(texts.what));
    CancelBtn->setToolTip(QString::fromStdString(texts.cancelHint));
    const bool german = settings_.german();
    setSpokenText(CancelBtn, german ? QStringLiteral("Abbrechen") : QStringLiteral("Cancel"), CancelBtn->toolTip());
    setSpokenText(NameListBox, german ? QStringLiteral("Gespeicherte Spiele") : QStringLiteral("Saved games"),
                  WhatLabel->text());
    NameListBox->setFocus();
}

void TLoadGameDlg::fillNameList()
{
    // Refilled at every showing, so games saved or deleted meanwhile show up.
    NameListBox->clear();
    const std::vector<std::string> names = listSavedGames(game_);
    hasGames_ = !names.empty();
    if (!hasGames_)
        NameListBox->addItem(QString::fromStdString(loadDialogTexts(settings_.language).noGameLine));
    for (const std::string& name : names)
        NameListBox->addItem(QString::fromStdString(name));
}

void TLoadGameDlg::NameListBoxClick(int row)
{
    if (row < 0 || row >= NameListBox->count())
        return;
    // The placeholder line closes with Ok too, choosing the game name as it
    // is; the caller's load then reports the name it cannot read.
    chosen_ = hasGames_ ? NameListBox->item(row)->text().toStdString() : game_.gameName;
    finish(DialogResult::Ok);
}

std::optional<std::string> TLoadGameDlg::chooseGame()
{
    if (exec() != static_cast<int>(DialogResult::Ok))
        return std::nullopt;
    return chosen_;
}

}  // namespace quellon
