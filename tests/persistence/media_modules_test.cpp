// The media modules beside the program: sound effects and help come with
// their own libraries the first time they are asked for, and a program
// directory without them leaves the game silent and without its rules.
#include "media/media_modules.h"

#include <dlfcn.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using namespace quellon;

namespace {

bool inMemory(const char* library)
{
    void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose(handle);
    return handle != nullptr;
}

QWidget* visibleHelpWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("HelpWindow") && widget->isVisible())
            return widget;
    return nullptr;
}

}  // namespace

class MediaModulesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(cache_.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
        // The help window keeps its place in the settings.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(cache_.path()));
    }

    void soundsBringTheirOutputLibraryOnlyWhenLoaded()
    {
        QVERIFY(!inMemory("libSDL2-2.0.so.0"));
        std::unique_ptr<SoundEffects> sounds = loadSoundEffects(QStringLiteral(QUELLON_RUNTIME_DIR), false);
        QVERIFY(sounds != nullptr);
        QVERIFY(inMemory("libSDL2-2.0.so.0"));
    }

    void helpBringsQtHelpOnlyWhenLoadedAndOpensTheRules()
    {
        QVERIFY(!inMemory("libQt6Help.so.6"));
        std::unique_ptr<HelpService> help =
            loadHelp(QStringLiteral(QUELLON_RUNTIME_DIR "/"), QStringLiteral("Zindle Quellon"));
        QVERIFY(help != nullptr);
        QVERIFY(inMemory("libQt6Help.so.6"));
        help->openHelp(2);
        QWidget* window = visibleHelpWindow();
        QVERIFY(window != nullptr);
        QVERIFY2(window->windowTitle().contains(QStringLiteral("Quellon")), qPrintable(window->windowTitle()));
        help->closeHelp();
        QVERIFY(visibleHelpWindow() == nullptr);
    }

    void aDirectoryWithoutModulesGivesNone()
    {
        QTemporaryDir empty;
        QVERIFY(loadSoundEffects(empty.path(), true) == nullptr);
        QVERIFY(loadHelp(empty.path(), QStringLiteral("Zindle Quellon")) == nullptr);
    }

private:
    QTemporaryDir cache_;
};

QTEST_MAIN(MediaModulesTest)
#include "media_modules_test.moc"
