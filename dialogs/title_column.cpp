#include "dialogs/title_column.h"

namespace quellon {

namespace {

constexpr int kTitleTop = 12;
constexpr int kUprightTop = kTitleTop + 77 + 12;

}  // namespace

void TitleColumn::setProgramTexts() const
{
    if (ProgLabel)
        ProgLabel->setText(kProgramName);
    if (VersionLabel)
        VersionLabel->setText(kProgramVersion);
}

TitleColumn addTitleColumn(QWidget* background, bool withProgramTexts, int bottom)
{
    TitleColumn column;
    column.title = new QLabel(background);
    column.title->setObjectName(QStringLiteral("TitleImage"));
    column.title->setGeometry(QRect(QPoint(0, kTitleTop), art::kTitleSize));
    column.title->setPixmap(artPixmap(art::kTitlePicture, art::kTitleSize));
    if (withProgramTexts) {
        const int height = bottom - kUprightTop;
        column.ProgLabel = new UprightLabel(background, 37, true);
        column.ProgLabel->setObjectName(QStringLiteral("ProgLabel"));
        column.ProgLabel->setGeometry(22, kUprightTop, 48, height);
        column.VersionLabel = new UprightLabel(background, 16, false);
        column.VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
        column.VersionLabel->setGeometry(72, kUprightTop, 24, height);
    }
    return column;
}

void styleWhiteLabel(QLabel* label, int pixelSize, bool bold)
{
    label->setFont(dialogFont(pixelSize, bold));
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
}

}  // namespace quellon
