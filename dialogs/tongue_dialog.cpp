#include "dialogs/tongue_dialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "engine/messages.h"
#include "engine/options.h"

namespace quellon {

TTongueDlg::TTongueDlg(QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      titleColumn_(addTitleColumn(background(), false, kClientSize.height() - 12)),
      p10(new TexturedPanel(background(), art::kContentTexture))
{
    setObjectName(QStringLiteral("TongueDlg"));
    p10->setObjectName(QStringLiteral("p10"));
    p10->setGeometry(108, 12, 289, 137);
    GermanBtn = new ImageButton(p10, QStringLiteral("flag-german-normal.svg"), QStringLiteral("flag-german-hover.svg"),
                                QSize(50, 50));
    GermanBtn->setObjectName(QStringLiteral("GermanBtn"));
    GermanBtn->move(16, 15);
    EnglishBtn = new ImageButton(p10, QStringLiteral("flag-english-normal.svg"),
                                 QStringLiteral("flag-english-hover.svg"), QSize(50, 50));
    EnglishBtn->setObjectName(QStringLiteral("EnglishBtn"));
    EnglishBtn->move(16, 71);
    TongueLabel = new QLabel(p10);
    TongueLabel->setObjectName(QStringLiteral("TongueLabel"));
    TongueLabel->setGeometry(79, 32, 200, 20);
    styleWhiteLabel(TongueLabel, 16, false);
    setFittedText(TongueLabel, QString::fromLatin1(kGermanChoiceLabel));
    Label1 = new QLabel(p10);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(79, 88, 200, 20);
    styleWhiteLabel(Label1, 16, false);
    setFittedText(Label1, QString::fromLatin1(kEnglishChoiceLabel));
    for (QLabel* label : {TongueLabel, Label1}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
    setSpokenText(GermanBtn, QStringLiteral("Deutsch"), QString::fromLatin1(kGermanChoiceLabel));
    setSpokenText(EnglishBtn, QStringLiteral("English"), QString::fromLatin1(kEnglishChoiceLabel));
    connect(GermanBtn, &QAbstractButton::clicked, this, [this] { GermanBtnClick(); });
    connect(EnglishBtn, &QAbstractButton::clicked, this, [this] { EnglishBtnClick(); });
}

void TTongueDlg::place()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

bool TTongueDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == TongueLabel) {
            GermanBtnClick();
            return true;
        }
        if (watched == Label1) {
            EnglishBtnClick();
            return true;
        }
    }
    return FramelessDialog::eventFilter(watched, event);
}

void TTongueDlg::GermanBtnClick()
{
    chosen_ = kLanguageGerman;
    finish(DialogResult::Ok);
}

void TTongueDlg::EnglishBtnClick()
{
    chosen_ = kLanguageEnglish;
    finish(DialogResult::Ok);
}

int TTongueDlg::chooseLanguage()
{
    exec();
    return chosen_;
}

}  // namespace quellon
