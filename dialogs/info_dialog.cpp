// The information dialog.
#include "dialogs/info_dialog.h"

#include <QKeyEvent>

namespace quellon {

TInfoDlg::TInfoDlg(QWidget* parent)
    : FramelessDialog(parent, kClientSize), OKBtn(new ImageButton(background(), art::kTickFace, art::kTickFaceOver, {50, 50}))
{
    setObjectName(QStringLiteral("InfoDlg"));
    auto* title = new QLabel(background());
    title->setPixmap(artPixmap(art::kTitlePicture, art::kTitleSize));
    title->setGeometry(QRect(QPoint(0, 12), art::kTitleSize));

    auto* p7 = new TexturedPanel(background(), art::kContentTexture);
    p7->setObjectName(QStringLiteral("p7"));
    p7->setGeometry(115, 12, 234, 86);
    auto* text = new QLabel(p7);
    text->setObjectName(QStringLiteral("InfoText"));
    text->setGeometry(p7->innerRect());
    text->setAlignment(Qt::AlignCenter);
    text->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    text->setText(QStringLiteral("<div style='font: bold 22px Arial'>%1</div><div style='font: bold 16px Arial'>%2</div>")
                      .arg(kProgramName, kVersionText));

    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->move(kClientSize.width() - 61, kClientSize.height() - 61);
    connect(OKBtn, &QAbstractButton::clicked, this, [this] { finish(DialogResult::Ok); });
}

void TInfoDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        finish(DialogResult::Ok);
        return;
    default:
        event->ignore();
    }
}

} // namespace quellon
