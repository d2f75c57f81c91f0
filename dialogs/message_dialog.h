// The message dialog: every notice and yes/no question of the game, in the
// language of the moment, with a tick (yes / OK) and a cross (no) button.
#pragma once

#include <QLabel>
#include <QString>

#include "ui/dialog_look.h"
#include "engine/settings_values.h"
#include "ui/message_seam.h"

namespace quellon {

enum class ButtonMode : int { OkOnly = 1, YesAndNo = 2 };

class TYesNoDlg : public FramelessDialog, public Messages {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{319, 158};

    // The fixed texts follow the language of `settings`.
    explicit TYesNoDlg(const SettingsValues& settings, QWidget* parent = nullptr);

    int showCode(MessageCode code) override;
    int showText(MessageCode code, const QString& text) override;
    void showFatal(const QString& text) override;

    // The text of a fixed code in a language (1 German, else English); empty
    // for the codes that carry the caller's text.
    static QString codeText(MessageCode code, int language);

    MessageCode messageCode() const { return messageCode_; }
    ButtonMode buttonMode() const { return buttonMode_; }
    QString shownText() const { return txt->text(); }
    ImageButton* yesButton() const { return YesBtn; }
    ImageButton* noButton() const { return NoBtn; }

protected:
    void FormActivate() override;
    // The same keys in both button modes; a close from outside counts as no.
    std::optional<DialogResult> resultOfKey(int key) const override;
    std::optional<DialogResult> resultOfClose() const override { return DialogResult::No; }

private:
    void ByesClick() { finish(DialogResult::Yes); }
    void BnoClick() { finish(DialogResult::No); }

    MessageCode messageCode_ = MessageCode::Notice;
    ButtonMode buttonMode_ = ButtonMode::OkOnly;
    QString messageText_;
    const SettingsValues& settings_;

    TexturedPanel* Pan;
    QLabel* txt;
    ImageButton* NoBtn;
    ImageButton* YesBtn;
};

// The message dialog made at the first message: most starts show none, and
// making it costs the start more than reading the catalogue.
class MessagesOnDemand final : public Messages {
public:
    MessagesOnDemand(const SettingsValues& settings, QWidget* parent) : settings_(settings), parent_(parent) {}
    int showCode(MessageCode code) override { return dialog().showCode(code); }
    int showText(MessageCode code, const QString& text) override { return dialog().showText(code, text); }
    void showFatal(const QString& text) override { dialog().showFatal(text); }

private:
    TYesNoDlg& dialog();

    const SettingsValues& settings_;
    QWidget* parent_;
    TYesNoDlg* dialog_ = nullptr;  // a child of the parent, which deletes it
};

}  // namespace quellon
