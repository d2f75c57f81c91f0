// The information dialog.
#include "dialogs/info_dialog.h"

#include "dialogs/title_column.h"

namespace quellon {

TInfoDlg::TInfoDlg(const SettingsValues& settings, QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      OKBtn(new ImageButton(background(), art::kTickFace, art::kTickFaceOver, {50, 50})),
      settings_(settings)
{
    setObjectName(QStringLiteral("InfoDlg"));
    auto* title = new QLabel(background());
    title->setPixmap(artPixmap(art::kTitlePicture, art::kTitleSize));
    title->setGeometry(QRect(QPoint(0, 12), art::kTitleSize));

    auto* p7 = new TexturedPanel(background(), art::kContentTexture);
    p7->setObjectName(QStringLiteral("p7"));
    p7->setGeometry(115, 12, kClientSize.width() - 127, kClientSize.height() - 12 - 73);
    const QRect inner = p7->innerRect().adjusted(8, 4, -8, -6);
    auto* name = new QLabel(p7);
    name->setObjectName(QStringLiteral("NameLabel"));
    name->setGeometry(inner.left(), inner.top(), inner.width(), 28);
    styleWhiteLabel(name, 22, true);
    setFittedText(name, kProgramName);
    auto* version = new QLabel(p7);
    version->setObjectName(QStringLiteral("VersionLabel"));
    version->setGeometry(inner.left(), inner.top() + 28, inner.width(), 20);
    styleWhiteLabel(version, 16, true);
    setFittedText(version, kVersionText);
    CreditLabel = new QLabel(p7);
    CreditLabel->setObjectName(QStringLiteral("CreditLabel"));
    CreditLabel->setGeometry(inner.left(), inner.top() + 56, inner.width(), inner.height() - 56);
    CreditLabel->setWordWrap(true);
    CreditLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    styleWhiteLabel(CreditLabel, 14, false);

    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->move(kClientSize.width() - 61, kClientSize.height() - 61);
    connect(OKBtn, &QAbstractButton::clicked, this, [this] { finish(DialogResult::Ok); });
}

QString TInfoDlg::creditText(int language)
{
    // The licence and the year are those of the metainfo and the package's
    // copyright file, the makers' name is written as there. The GNU GPL asks
    // an interactive program to say that it comes without warranty and where
    // the licence can be read. The SoundFont's credit and licence are those
    // of its Debian package (timgm6mb-soundfont).
    if (language == kLanguageGerman)
        return QStringLiteral(
            "\u00a9 2026 The Quellon developers. Grafik, Ger\u00e4usche und Musik sind eigene Werke des Spiels.\n\n"
            "Quellon ist freie Software: Du darfst es unter der GNU General Public License, Version 3 oder jeder "
            "sp\u00e4teren Version, weitergeben und ver\u00e4ndern. Es kommt OHNE JEDE GEW\u00c4HRLEISTUNG, soweit "
            "das Gesetz es zul\u00e4sst. Den Wortlaut der Lizenz findest Du unter "
            "https://www.gnu.org/licenses/gpl-3.0.html.\n\n"
            "Die Musik erklingt mit der SoundFont TimGM6mb, \u00a9 2004 Tim Brechbill, 2010 David Bolton, "
            "lizenziert unter der GNU General Public License, Version 2.");
    return QStringLiteral(
        "\u00a9 2026 The Quellon developers. Art, sounds and music are the game's own.\n\n"
        "Quellon is free software: you may pass it on and change it under the GNU General Public License, "
        "version 3 or any later version. It comes with ABSOLUTELY NO WARRANTY, to the extent permitted by law. "
        "The licence can be read at https://www.gnu.org/licenses/gpl-3.0.html.\n\n"
        "The music plays with the SoundFont TimGM6mb, \u00a9 2004 Tim Brechbill, 2010 David Bolton, "
        "licensed under the GNU General Public License, version 2.");
}

void TInfoDlg::FormActivate()
{
    setFittedText(CreditLabel, creditText(settings_.language));
    setSpokenText(OKBtn, QStringLiteral("OK"),
                  settings_.german() ? QStringLiteral("Zur\u00fcck zum Spiel") : QStringLiteral("Back to the game"));
}

std::optional<DialogResult> TInfoDlg::resultOfKey(int key) const
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        return DialogResult::Ok;
    default:
        return std::nullopt;
    }
}

}  // namespace quellon
