// The left column of the larger dialogs: the title picture, and below it the
// program name and version reading from bottom to top.
#pragma once

#include <QLabel>
#include <QWidget>

#include "ui/dialog_look.h"

namespace quellon {

inline const QString kProgramName = QStringLiteral("Zindle Quellon");
inline const QString kProgramVersion = QStringLiteral("Version  V3.1");  // two blanks, as always shown

struct TitleColumn {
    QLabel* title = nullptr;
    UprightLabel* ProgLabel = nullptr;  // null in the language dialog
    UprightLabel* VersionLabel = nullptr;

    // Set on every showing of the dialog.
    void setProgramTexts() const;
};

// Adds the column to a dialog's background; `withProgramTexts` adds the
// upright name and version below the picture, down to `bottom`.
TitleColumn addTitleColumn(QWidget* background, bool withProgramTexts, int bottom);

// White text in the dialogs' face at a pixel size on a transparent
// background, the labels' look. Texts set by setFittedText shrink from it.
void styleWhiteLabel(QLabel* label, int pixelSize, bool bold);

}  // namespace quellon
