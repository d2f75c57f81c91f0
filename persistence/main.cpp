// The game's entry point: the windows in their order, start-up, the message
// loop. The program takes no arguments of its own.
#include <QApplication>

#include "play/main_form.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zindle Quellon"));

    quellon::TMainform mainForm;
    if (!mainForm.FormCreate())
        return 1;
    mainForm.showRestored();
    return QApplication::exec();
}
