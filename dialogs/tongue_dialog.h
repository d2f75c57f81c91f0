// The language question of the first start: German or English, by flag.
#pragma once

#include <QLabel>

#include "ui/dialog_look.h"
#include "dialogs/title_column.h"
#include "engine/settings_values.h"

namespace quellon {

class TTongueDlg : public FramelessDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{408, 162};

    explicit TTongueDlg(QWidget* parent = nullptr);

    // Shows the dialog until a language is chosen, and returns it.
    int chooseLanguage();
    // The language of the last flag clicked; unset before the first.
    int chosenLanguage() const { return chosen_; }

    ImageButton* GermanBtn;
    ImageButton* EnglishBtn;
    QLabel* TongueLabel;
    QLabel* Label1;

protected:
    // Centred on the screen rather than over the main window, which has no
    // language yet when this is asked.
    void place() override;
    // Only the two buttons close it: no keys, no other way out.
    std::optional<DialogResult> resultOfKey(int) const override { return std::nullopt; }
    std::optional<DialogResult> resultOfClose() const override { return std::nullopt; }
    // A click on a flag's sentence counts as a click on the flag.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GermanBtnClick();
    void EnglishBtnClick();

    int chosen_ = kLanguageUnset;
    TitleColumn titleColumn_;
    TexturedPanel* p10;
};

}  // namespace quellon
