// The game's entry point: the session, the sound, music and help first (the
// main window's start-up uses them), then the main window with the pattern
// window (the dialogs follow on first use) and its start-up; the message
// loop; and the way down in the reverse order. The program takes no
// arguments of its own.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/display_platform.h"
#include "media/media_modules.h"
#include "media/media_service.h"
#include "media/music_player.h"
#include "play/main_form.h"
#include "session/game_session.h"
#include "storage/settings_store.h"

namespace {

// The sound effects, opened once the window shows: asking the audio system
// for its devices costs more than the rest of the start-up together, and no
// sound can be asked for before the first event anyway. They start with the
// sound switch as the settings read at start-up left it; a switch before
// then is taken along, later ones are passed on.
class SoundsOpenedLater : public SoundEffects {
public:
    SoundsOpenedLater(const QString& programDir, const quellon::GameSession& session)
        : programDir_(programDir),
          session_(session)
    {}
    void open() { waves_ = quellon::loadSoundEffects(programDir_, session_.settings().soundOn); }
    void playSound(quellon::SoundNumber n) override
    {
        if (waves_)
            waves_->playSound(n);
    }
    void setSoundsEnabled(bool on) override
    {
        if (waves_)
            waves_->setSoundsEnabled(on);
    }

private:
    QString programDir_;
    const quellon::GameSession& session_;
    std::unique_ptr<SoundEffects> waves_;
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
    AfterFirstPaint()
    {
        QTimer::singleShot(kLatestMilliseconds, this, [this] {
            runSteps(soonSteps_);
            runSteps(laterSteps_);
        });
    }
    // The window whose first paint counts.
    void watch(QWidget& window)
    {
        window_ = &window;
        window.installEventFilter(this);
    }
    // Right after the first paint.
    void addSoon(std::function<void()> step) { add(soonSteps_, std::move(step)); }
    // A moment after it.
    void addLater(std::function<void()> step) { add(laterSteps_, std::move(step)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            window_->removeEventFilter(this);
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

    QWidget* window_ = nullptr;
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

// Like the sounds, the music starts a moment after the window has shown.
class MediaStartedLater : public quellon::MediaService {
public:
    MediaStartedLater(quellon::MusicPlayer& music, const quellon::SettingsValues& settings, const QString& programDir,
                      const QString& programTitle, AfterFirstPaint& afterFirstPaint, const StartupClock& clock)
        : MediaService(music, settings, programDir, programTitle),
          afterFirstPaint_(afterFirstPaint),
          clock_(clock)
    {}
    void startMusic() override
    {
        afterFirstPaint_.addLater([this] {
            MediaService::startMusic();
            clock_.mark("music started");
        });
    }

private:
    AfterFirstPaint& afterFirstPaint_;
    const StartupClock& clock_;
};

}  // namespace

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
    GameSession session;

    SoundsOpenedLater sounds(programDir, session);
    MusicPlayer music(programDir);
    AfterFirstPaint afterFirstPaint;
    MediaStartedLater media(music, session.settings(), programDir, QStringLiteral("Zindle Quellon"), afterFirstPaint,
                            clock);

    // The start-up reads its settings through one opened store.
    auto startupSettings = std::make_unique<SettingsStore::Session>();
    TMainform mainForm(session, sounds, media, nullptr, programDir);
    afterFirstPaint.watch(mainForm);
    clock.mark("main window made");
    if (!mainForm.FormCreate())
        return 1;
    clock.mark("start-up steps (settings, catalogue, last game, set-up) and the pattern window");
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
