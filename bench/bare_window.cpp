// The yardstick of scripts/measure-start: the least a Qt Widgets program
// does to show a window of the game's initial client size. Nothing else is
// linked or made, so the game's start-up figures can be read against it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(909, 698);
    window.show();
    return QApplication::exec();
}
