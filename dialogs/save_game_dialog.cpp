#include "dialogs/save_game_dialog.h"

#include "dialogs/title_column.h"
#include "engine/saved_games.h"

#include <utility>

namespace quellon {

TSaveGameDlg::TSaveGameDlg(GameData& game, const SettingsValues& settings, QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      game_(game),
      settings_(settings),
      p7(new TexturedPanel(background(), art::kContentTexture)),
      AskLabel(new QLabel(p7)),
      NameEdit(new QLineEdit(p7)),
      CancelBtn(new ImageButton(background(), art::kCrossFace, art::kCrossFaceOver, QSize(50, 50))),
      OKBtn(new ImageButton(background(), art::kTickFace, art::kTickFaceOver, QSize(50, 50)))
{
    setObjectName(QStringLiteral("SaveGameDlg"));
    setPlaceOnlyOverVisibleMain(true);
    p7->setObjectName(QStringLiteral("p7"));
    p7->setGeometry(12, 12, 333, 105);
    AskLabel->setObjectName(QStringLiteral("AskLabel"));
    AskLabel->setGeometry(12, 12, 293, 38);
    AskLabel->setWordWrap(true);
    styleWhiteLabel(AskLabel, 16, true);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setGeometry(12, 63, 309, 26);
    NameEdit->setFrame(false);
    NameEdit->setFont(dialogFont(16, true));
    NameEdit->setStyleSheet(QStringLiteral("color: black; background: white;"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->move(240, 128);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->move(296, 127);
    connect(OKBtn, &QAbstractButton::clicked, this, [this] { exitClick(); });
    connect(CancelBtn, &QAbstractButton::clicked, this, [this] { CancelBtnClick(); });
}

void TSaveGameDlg::FormActivate()
{
    if (offeredName_) {
        NameEdit->setText(*std::exchange(offeredName_, std::nullopt));
        NameEdit->selectAll();
    } else {
        NameEdit->setText(QString::fromStdString(game_.gameName));
    }
    NameEdit->setFocus();
    const SaveDialogTexts texts = saveDialogTexts(settings_.language);
    setFittedText(AskLabel, QString::fromStdString(texts.ask));
    OKBtn->setToolTip(QString::fromStdString(texts.okHint));
    const bool german = settings_.german();
    setSpokenText(NameEdit, QStringLiteral("Name"), AskLabel->text());
    setSpokenText(OKBtn, QStringLiteral("OK"), OKBtn->toolTip());
    setSpokenText(CancelBtn, german ? QStringLiteral("Abbrechen") : QStringLiteral("Cancel"),
                  german ? QStringLiteral("Nicht speichern") : QStringLiteral("Don't save"));
}

void TSaveGameDlg::exitClick()
{
    // Exactly as typed: no trimming, no check of the characters here.
    game_.gameName = NameEdit->text().toStdString();
    finish(DialogResult::Ok);
}

}  // namespace quellon
