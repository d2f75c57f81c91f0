// The game's entry point: the sound, music and help first (the main window's
// start-up uses them), then the main window with its start-up, then the
// pattern window (the dialogs follow on first use); the message loop; and the
// way down in the reverse order. The program takes no arguments of its own.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "persistence/display_platform.h"
#include "persistence/game_windows.h"
#include "persistence/help_viewer.h"
#include "persistence/media_modules.h"
#include "persistence/music_player.h"
#include "persistence/settings_store.h"
#include "play/main_form.h"

namespace {

// The sound effects, opened once the window shows: asking the audio system
// for its devices costs more than the rest of the start-up together, and no
// sound can be asked for before the first event anyway.
class SoundsOpenedLater : public SoundEffects {
public:
    SoundsOpenedLater(const QString& programDir, const bool& soundOn) : programDir_(programDir), soundOn_(soundOn) {}
    void open() { waves_ = quellon::loadSoundEffects(programDir_, soundOn_); }
    void playSound(int n) override
    {
        if (waves_)
            waves_->playSound(n);
    }

private:
    QString programDir_;
    const bool& soundOn_;
    std::unique_ptr<SoundEffects> waves_;
};

// The help, loaded with its module the first time the rules are asked for.
class HelpOpenedLater : public quellon::HelpService {
public:
    HelpOpenedLater(const QString& programDir, const QString& programTitle)
        : programDir_(programDir), programTitle_(programTitle)
    {
    }
    void openHelp(int context) override
    {
        if (!help_)
            help_ = quellon::loadHelp(programDir_, programTitle_);
        if (help_)
            help_->openHelp(context);
        else
            QMessageBox::warning(nullptr, programTitle_, quellon::HelpViewer::messageText());
    }
    void closeHelp() override
    {
        if (help_)
            help_->closeHelp();
    }

private:
    QString programDir_;
    QString programTitle_;
    std::unique_ptr<quellon::HelpService> help_;
};

// Runs steps once the window has been painted for the first time: some at
// once, the others a quarter of a second later (or all after a second if it
// never is painted). The sound effects and the music ask the audio system for
// its devices and load their libraries, which costs more than the rest of the
// start-up: done earlier, they held back the window's appearance (the request
// to show it only leaves with the first pass of the event loop), and right
// after the first paint they still competed with the X server drawing it.
// The first sound needs a click on a piece, later anyway.
class AfterFirstPaint : public QObject {
public:
    explicit AfterFirstPaint(QWidget& window) : window_(window)
    {
        window_.installEventFilter(this);
        QTimer::singleShot(kLatestMilliseconds, this, [this] {
            runSteps(soonSteps_);
            runSteps(laterSteps_);
        });
    }
    // Right after the first paint.
    void addSoon(std::function<void()> step) { add(soonSteps_, std::move(step)); }
    // A moment after it.
    void addLater(std::function<void()> step) { add(laterSteps_, std::move(step)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            window_.removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { runSteps(soonSteps_); });
            QTimer::singleShot(kSettleMilliseconds, this, [this] { runSteps(laterSteps_); });
        }
        return false;
    }

private:
    struct Steps {
        std::vector<std::function<void()>> waiting;
        bool done = false;
    };
    static constexpr int kSettleMilliseconds = 250;
    static constexpr int kLatestMilliseconds = 1000;

    static void add(Steps& steps, std::function<void()> step)
    {
        if (steps.done)
            step();
        else
            steps.waiting.push_back(std::move(step));
    }
    static void runSteps(Steps& steps)
    {
        if (steps.done)
            return;
        steps.done = true;
        for (const std::function<void()>& step : steps.waiting)
            step();
        steps.waiting.clear();
    }

    QWidget& window_;
    Steps soonSteps_;
    Steps laterSteps_;
    bool painted_ = false;
};

// With QUELLON_STARTUP_TIMES set, the milliseconds since main() began at each
// step of the start-up go to stderr: the measure of where start-up goes.
class StartupClock {
public:
    StartupClock() : on_(qEnvironmentVariableIsSet("QUELLON_STARTUP_TIMES")) { clock_.start(); }
    void mark(const char* step) const
    {
        if (on_)
            std::fprintf(stderr, "%7.2f ms  %s\n", static_cast<double>(clock_.nsecsElapsed()) / 1e6, step);
    }

private:
    bool on_;
    QElapsedTimer clock_;
};

} // namespace

int main(int argc, char** argv)
{
    using namespace quellon;
    choosePlatform();
    const StartupClock clock;
    QApplication app(argc, argv);
    clock.mark("application");
    QApplication::setApplicationName(QStringLiteral("Zindle Quellon"));
    // Wayland compositors and task bars match the windows to the desktop entry,
    // and so to its name and icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.quellon.Quellon"));
    const QString programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    SettingsValues& settings = gameState().settings;

    SoundsOpenedLater sounds(programDir, settings.soundOn);
    MusicPlayer music(programDir);
    HelpOpenedLater help(programDir, QStringLiteral("Zindle Quellon"));

    // The start-up reads its settings through one opened store.
    auto startupSettings = std::make_unique<SettingsStore::Session>();
    TMainform mainForm(MainformServices{&sounds, nullptr, programDir});
    AfterFirstPaint afterFirstPaint(mainForm);
    clock.mark("main window made");
    // Like the sounds, the music starts a moment after the window has shown.
    joinMediaHooks(mainForm.hooks, help, music, settings, [&clock, &afterFirstPaint](std::function<void()> start) {
        afterFirstPaint.addLater([&clock, start = std::move(start)] {
            start();
            clock.mark("music started");
        });
    });
    if (!mainForm.FormCreate())
        return 1;
    clock.mark("start-up steps (settings, catalogue, last game, set-up)");

    GameWindows windows(mainForm, &mainForm.messages());
    windows.setMusicControls([&music] { return music.toggleMusic(); }, [&music] { return music.musicFound(); },
                             [&music] { return music.musicName(); });
    clock.mark("pattern window");
    mainForm.showRestored();
    startupSettings.reset();
    sendToDisplayNow();
    clock.mark("shown");
    QTimer::singleShot(0, [&clock] { clock.mark("first events handled"); });
    afterFirstPaint.addSoon([&mainForm, &clock] {
        clock.mark("first paint done");
        mainForm.setProgramIcon();
    });
    afterFirstPaint.addLater([&sounds, &clock] {
        sounds.open();
        clock.mark("sounds opened");
    });
    return QApplication::exec();
}
