// The main window's commands: the board's pointer events and the tool
// buttons go to the session, and what it returns is carried out here.
#include "play/main_form.h"

#include "dialogs/info_dialog.h"
#include "dialogs/stat_dialog.h"
#include "play/board_view.h"
#include "play/game_windows.h"
#include "play/pattern_form.h"
#include "play/tool_bar.h"
#include "ui/dialog_look.h"

namespace quellon {

void TMainform::boxMouseDown(PointerButton button, QPoint position)
{
    carryOut(session_.pointerPressed(button, position.x(), position.y()));
}

void TMainform::boxMouseMove(bool leftHeld, QPoint position)
{
    carryOut(session_.pointerMoved(leftHeld, position.x(), position.y()));
}

void TMainform::carryOut(const SessionOutcome& outcome)
{
    using Kind = SessionAction::Kind;
    for (const SessionAction& action : outcome) {
        switch (action.kind) {
        case Kind::ShowZone:
            box->showZone(action.zone);
            break;
        case Kind::DrawStep:
            box->showStep(action.step);
            break;
        case Kind::PlaySound:
            sound_.playSound(action.sound);
            break;
        case Kind::SwitchSounds:
            sound_.setSoundsEnabled(action.soundOn);
            break;
        case Kind::ShowMessage:
            if (action.text.empty())
                messages().showCode(action.code);
            else
                messages().showText(action.code, QString::fromStdString(action.text));
            break;
        case Kind::ShowSetUp:
            ToolPanel->button(&TMainform::TipBtnClick)->setEnabled(action.helpOffered);
            box->showPlainCursor();
            break;
        case Kind::PlainCursor:
            box->showPlainCursor();
            break;
        case Kind::RepaintBoard:
            box->repaintBoard();
            break;
        case Kind::RepaintMain:
            repaintMain();
            break;
        case Kind::RepaintPattern:
            windows_->patternWindow().refresh();
            break;
        case Kind::ReshowPattern:
            setPatternVisible(false);
            if (session_.settings().patmode > 0)
                setPatternVisible(true);
            break;
        case Kind::ApplyHints:
            ToolPanel->applyHints(session_.settings().german());
            break;
        case Kind::UpdateTitle:
            updateTitle();
            break;
        }
    }
}

const QCursor& TMainform::turnCursor() { return box->turnCursor(); }

const QCursor& TMainform::moveCursor() { return box->moveCursor(); }

void TMainform::NewgameBtnClick() { carryOut(session_.newGame(*windows_)); }

void TMainform::LoadBtnClick() { carryOut(session_.load(*windows_)); }

void TMainform::StatBtnClick() { windows_->statDialog().exec(); }

void TMainform::TipBtnClick() { carryOut(session_.help()); }

void TMainform::SelectBtnClick() { carryOut(session_.select(*windows_)); }

void TMainform::UpBtnClick() { carryOut(session_.next()); }

void TMainform::DnBtnClick() { carryOut(session_.previous()); }

void TMainform::UnsolvedUpBtnClick() { carryOut(session_.nextUnsolved()); }

void TMainform::UnsolvedDnBtnClick() { carryOut(session_.previousUnsolved()); }

void TMainform::OptionBtnClick()
{
    windows_->optionDialog().exec();
    updateTitle();
}

void TMainform::InfoBtnClick()
{
    if (!infoDialog_)
        infoDialog_ = new TInfoDlg(session_.settings(), this);
    infoDialog_->exec();
}

void TMainform::RulesBtnClick() { media_.openHelp(session_.settings().german() ? 1 : 2, *this); }

void TMainform::ExitBtnClick() { close(); }

}  // namespace quellon
