// The message dialog. Made once and reused; each show is modal.
#include "dialogs/message_dialog.h"

#include <QMessageBox>

namespace quellon {

TYesNoDlg::TYesNoDlg(const SettingsValues& settings, QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      settings_(settings),
      Pan(new TexturedPanel(background(), art::kContentTexture)),
      txt(new QLabel(Pan)),
      NoBtn(new ImageButton(background(), art::kCrossFace, art::kCrossFaceOver, QSize(50, 50))),
      YesBtn(new ImageButton(background(), art::kTickFace, art::kTickFaceOver, QSize(50, 50)))
{
    setObjectName(QStringLiteral("YesNoDlg"));
    Pan->setObjectName(QStringLiteral("Pan"));
    Pan->setGeometry(11, 12, 298, 77);
    txt->setObjectName(QStringLiteral("txt"));
    txt->setGeometry(Pan->innerRect());
    txt->setAlignment(Qt::AlignCenter);
    txt->setWordWrap(true);
    txt->setFont(dialogFont(16, true));
    txt->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    NoBtn->setObjectName(QStringLiteral("NoBtn"));
    NoBtn->move(204, 100);
    YesBtn->setObjectName(QStringLiteral("YesBtn"));
    YesBtn->move(260, 100);
    connect(YesBtn, &QAbstractButton::clicked, this, [this] { ByesClick(); });
    connect(NoBtn, &QAbstractButton::clicked, this, [this] { BnoClick(); });
}

QString TYesNoDlg::codeText(MessageCode code, int language)
{
    const bool german = language == kLanguageGerman;
    switch (code) {
    case MessageCode::Solved:
        return german ? QStringLiteral("Hurra, geschafft!") : QStringLiteral("Hurrah, you did it!");
    case MessageCode::Quit:
        return german ? QStringLiteral("Willst Du wirklich schon aufh\u00f6ren?")
                      : QStringLiteral("Do you really want to go?");
    case MessageCode::NewGame:
        return german ? QStringLiteral("Willst Du die Partie wirklich aufgeben?")
                      : QStringLiteral("Do you really want to give up the game?");
    case MessageCode::Notice:
    case MessageCode::Question:
        break;
    }
    return {};
}

int TYesNoDlg::showCode(MessageCode code)
{
    messageCode_ = code;
    buttonMode_ =
        code == MessageCode::Solved || code == MessageCode::Notice ? ButtonMode::OkOnly : ButtonMode::YesAndNo;
    return exec();
}

int TYesNoDlg::showText(MessageCode code, const QString& text)
{
    messageCode_ = code;
    buttonMode_ = code == MessageCode::Question ? ButtonMode::YesAndNo : ButtonMode::OkOnly;
    messageText_ = text;
    return exec();
}

void TYesNoDlg::showFatal(const QString& text)
{
    QMessageBox::critical(nullptr, QStringLiteral("Zindle Quellon"), text, QMessageBox::Ok);
}

void TYesNoDlg::FormActivate()
{
    NoBtn->setVisible(buttonMode_ == ButtonMode::YesAndNo);
    YesBtn->setVisible(true);
    QString text = messageCode_ == MessageCode::Notice || messageCode_ == MessageCode::Question
                       ? messageText_
                       : codeText(messageCode_, settings_.language);
    // A carriage return starts a new line.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setFittedText(txt, text);
    const bool german = settings_.german();
    const QString yes = buttonMode_ == ButtonMode::OkOnly ? QStringLiteral("OK")
                        : german                          ? QStringLiteral("Ja")
                                                          : QStringLiteral("Yes");
    setSpokenText(YesBtn, yes, text);
    setSpokenText(NoBtn, german ? QStringLiteral("Nein") : QStringLiteral("No"), text);
}

std::optional<DialogResult> TYesNoDlg::resultOfKey(int key) const
{
    if (isConfirmKey(key))
        return DialogResult::Yes;
    if (key == Qt::Key_Escape || key == Qt::Key_N)
        return DialogResult::No;
    return std::nullopt;
}

TYesNoDlg& MessagesOnDemand::dialog()
{
    if (!dialog_)
        dialog_ = new TYesNoDlg(settings_, parent_);
    return *dialog_;
}

}  // namespace quellon
