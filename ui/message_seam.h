// The seam through which the game shows its notices and questions. The real
// one is the message dialog (TYesNoDlg); tests put in one that answers.
#pragma once

#include <QString>

#include "engine/messages.h"

namespace quellon {

class Messages {
public:
    virtual ~Messages() = default;
    // The fixed message of code 1, 3 or 4; returns the DialogResult (Yes 6, No 7).
    virtual int showCode(MessageCode code) = 0;
    // The caller's text under code 10 (OK only) or 11 (yes and no).
    virtual int showText(MessageCode code, const QString& text) = 0;
    // The platform's own error box with one OK button: the fatal start-up message.
    virtual void showFatal(const QString& text) = 0;
};

}  // namespace quellon
