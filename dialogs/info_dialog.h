// The information dialog of the tool bar's info button: the program's title
// picture, name and version, closed by its tick button or a key.
#pragma once

#include <QLabel>

#include "dialogs/dialog_look.h"

namespace quellon {

class TInfoDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{360, 170};
    static inline const QString kProgramName = QStringLiteral("Zindle Quellon");
    static inline const QString kVersionText = QStringLiteral("Version  V3.1");

    explicit TInfoDlg(QWidget* parent = nullptr);
    ImageButton* okButton() const { return OKBtn; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ImageButton* OKBtn;
};

} // namespace quellon
