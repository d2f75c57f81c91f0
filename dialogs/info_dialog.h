// The information dialog of the tool bar's info button: the program's title
// picture, name and version, who made it, its licence and the credit of the
// SoundFont its music plays with; closed by its tick button or a key.
#pragma once

#include <QLabel>

#include "engine/settings_values.h"
#include "ui/dialog_look.h"

namespace quellon {

class TInfoDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{580, 420};
    static inline const QString kProgramName = QStringLiteral("Zindle Quellon");
    static inline const QString kVersionText = QStringLiteral("Version  V3.1");

    explicit TInfoDlg(const SettingsValues& settings, QWidget* parent = nullptr);
    ImageButton* okButton() const { return OKBtn; }
    // Makers, licence and SoundFont credit, in the current language.
    QLabel* creditLabel() const { return CreditLabel; }

    // The credit text in a language (German when 1, English otherwise).
    static QString creditText(int language);

protected:
    void FormActivate() override;
    // Enter, Escape and Space close it, as its tick button does.
    std::optional<DialogResult> resultOfKey(int key) const override;
    std::optional<DialogResult> resultOfClose() const override { return DialogResult::Ok; }

private:
    QLabel* CreditLabel;
    ImageButton* OKBtn;
    const SettingsValues& settings_;
};

}  // namespace quellon
