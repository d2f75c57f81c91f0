// End to end, by ear: the real program under its own X server plays to a
// private sound server (a null sink), and the test records the sink's
// monitor as a player's ears would hear it.
//
// - Every effect arrives within 100 ms of the X event that causes it, at the
//   level of its file and as long as its file; with sound off, nothing does.
// - Music arrives within a second of the first paint, stops when switched
//   off and plays when switched on; short pieces end and start again five
//   times with the same streams at the server and no growth in memory.
// - Pick-up, put-down, turn step and refusal are each heard in 20 of 20
//   tries, the first of each try after the sink has been idle, and all of
//   them with two busy processes beside the game.
// - The server killed mid-game: the game goes on answering, and when the
//   server is back so are the effects and the music. Without any server the
//   game starts silently, without a message.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/orientation_table.h"
#include "engine/setup.h"
#include "loudness.h"
#include "storage/settings_store.h"
#include "play/main_form.h"
#include "tests/support/board_reading.h"
#include "tests/support/process_run.h"

using namespace quellon;
using namespace quellon::e2e;
using media::Pcm;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr int kRate = 48000;
constexpr double kEffectDelay = 0.100;     // seconds from the X event to the sound
constexpr double kMusicDelay = 1.0;        // seconds from the first paint to the music
constexpr double kLevelTolerance = 3.0;    // dB between the file's peak and the sink's
constexpr double kLoudnessTarget = -23.0;  // LUFS of the music at the sink
constexpr int kPieceOneShift = 12;

double now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool onPath(const char* program) { return !QStandardPaths::findExecutable(QLatin1String(program)).isEmpty(); }

// A 16-bit mono wave file's samples as the sink would carry them (both
// channels the same): enough to compare level and length.
Pcm waveFile(const QString& path)
{
    QFile file(path);
    Pcm pcm;
    if (!file.open(QIODevice::ReadOnly))
        return pcm;
    const QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("data");
    if (data < 0)
        return pcm;
    pcm.rate = qFromLittleEndian<quint32>(bytes.constData() + 24);
    for (qsizetype at = data + 8; at + 1 < bytes.size(); at += 2) {
        const auto sample = qFromLittleEndian<qint16>(bytes.constData() + at);
        pcm.samples.push_back(sample);
        pcm.samples.push_back(sample);
    }
    return pcm;
}

// A private sound server: a null sink and the native protocol, nothing else,
// in a runtime folder of its own.
class SoundServer {
public:
    explicit SoundServer(const QString& runtimeDir) : runtimeDir_(runtimeDir) {}
    ~SoundServer() { kill(); }

    QString runtimeDir() const { return runtimeDir_; }
    QString socket() const { return runtimeDir_ + QStringLiteral("/pulse/native"); }

    bool start()
    {
        QDir().mkpath(runtimeDir_);
        QFile::setPermissions(runtimeDir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
        env.insert(QStringLiteral("HOME"), runtimeDir_);
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("--disallow-exit"), QStringLiteral("--log-level=error"), QStringLiteral("-L"),
                       QStringLiteral("module-null-sink sink_name=ears rate=48000 channels=2"), QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix")});
        if (!server_.waitForStarted())
            return false;
        const double deadline = now() + 20;
        while (now() < deadline) {
            if (!pactl({QStringLiteral("info")}).isEmpty())
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    // As a crash would: no goodbye to the clients.
    void kill()
    {
        if (server_.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(server_.processId()), SIGKILL);
        server_.waitForFinished(5000);
    }

    QString pactl(const QStringList& arguments) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket());
        return run(QStringLiteral("pactl"), arguments, env, 5000);
    }

    // The streams a process holds at the server for its music, or for its
    // sound effects (one stream, open while the game runs once sound was on).
    int musicStreamsOf(qint64 pid) const { return streamsOf(pid, false); }
    int effectStreamsOf(qint64 pid) const { return streamsOf(pid, true); }

private:
    int streamsOf(qint64 pid, bool effects) const
    {
        const QString pidLine = QStringLiteral("application.process.id = \"%1\"").arg(pid);
        int count = 0;
        for (const QString& stream : pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")})
                                         .split(QStringLiteral("Sink Input #"), Qt::SkipEmptyParts))
            if (stream.contains(pidLine) && stream.contains(QStringLiteral("\"Quellon sound effects\"")) == effects)
                ++count;
        return count;
    }

    QString runtimeDir_;
    QProcess server_;
};

// parec on the sink's monitor, read by a thread of its own so that every
// block's arrival is timed however busy the test's event loop is. A sound
// counts as arrived when the block holding its first sample reached the
// test: the server has mixed it by then. (The frames' nominal times are no
// measure: a null sink mixes ahead of the clock by up to its latency.)
class SinkRecorder {
public:
    ~SinkRecorder() { stop(); }

    // Deep ears ask the server for no low latency, as a plain recorder
    // does: then nothing keeps the sink from buffering ahead, as an idle
    // sink of a desktop does, and arrival times say nothing.
    bool start(const QString& socket, bool deep = false)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return false;
        const QByteArray server = "--server=unix:" + QFile::encodeName(socket);
        std::vector<const char*> arguments = {"parec",          server.constData(), "--device=ears.monitor", "--raw",
                                              "--format=s16le", "--rate=48000",     "--channels=2"};
        if (!deep)
            arguments.push_back("--latency-msec=10");
        arguments.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(pipeFds[1], 1);
            close(pipeFds[0]);
            close(pipeFds[1]);
            execvp("parec", const_cast<char* const*>(arguments.data()));
            _exit(127);
        }
        close(pipeFds[1]);
        fd_ = pipeFds[0];
        reader_ = std::thread([this] { read(); });
        if (pid_ <= 0)
            return false;
        // Listening only once the first block has come: parec takes a while
        // to connect on a busy machine.
        const double started = now();
        return reach(started);
    }

    void stop()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (reader_.joinable())
            reader_.join();
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
    }

    Pcm pcm() const
    {
        std::lock_guard lock(mutex_);
        Pcm copy;
        copy.samples = samples_;
        return copy;
    }
    // Seconds on the test's clock when the given frame reached the test.
    double timeOf(size_t frame) const
    {
        std::lock_guard lock(mutex_);
        const auto block = std::upper_bound(arrivals_.begin(), arrivals_.end(), frame,
                                            [](size_t f, const std::pair<size_t, double>& a) { return f < a.first; });
        return block == arrivals_.end() ? std::numeric_limits<double>::max() : block->second;
    }
    // The first frame that reached the test at or after the given time.
    size_t frameAt(double time) const
    {
        std::lock_guard lock(mutex_);
        size_t before = 0;
        for (const auto& [end, arrived] : arrivals_) {
            if (arrived >= time)
                return before;
            before = end;
        }
        return before;
    }
    // Waits until the recording reaches the given time.
    bool reach(double time) const
    {
        const double deadline = time + 10;
        while (now() < deadline) {
            {
                std::lock_guard lock(mutex_);
                if (!arrivals_.empty() && arrivals_.back().second >= time)
                    return true;
            }
            QTest::qWait(20);
        }
        return false;
    }

private:
    void read()
    {
        char buffer[3840];
        size_t pending = 0;
        char odd[4];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0)
                return;
            const double arrived = now();
            std::lock_guard lock(mutex_);
            for (ssize_t i = 0; i < got; ++i) {
                odd[pending++] = buffer[i];
                if (pending == 4) {
                    samples_.push_back(static_cast<int16_t>(uint8_t(odd[0]) | (uint8_t(odd[1]) << 8)));
                    samples_.push_back(static_cast<int16_t>(uint8_t(odd[2]) | (uint8_t(odd[3]) << 8)));
                    pending = 0;
                }
            }
            arrivals_.emplace_back(samples_.size() / 2, arrived);
        }
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::vector<int16_t> samples_;
    std::vector<std::pair<size_t, double>> arrivals_;  // frames received so far, and when
};

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// An act of the test's whose last X event plays a sound.
struct SoundingEvent {
    const char* name;
    int sound;
    std::function<double()> act;  // returns the time of the event that sounds
};

// A wave file's peak and the length of its sound above 30 dB under that peak,
// as the sink's sounds are measured.
struct FileSound {
    double peak = 0;    // dBFS
    double length = 0;  // seconds
};

FileSound fileSound(const Pcm& wave)
{
    FileSound sound;
    sound.peak = media::peakDecibels(wave, 0, wave.frames());
    sound.length = double(media::endOfSound(wave, 0, sound.peak - 30, wave.rate / 50)) / wave.rate;
    return sound;
}

struct Heard {
    bool found = false;
    double delay = 0;     // seconds from the event
    double peak = 0;      // dBFS
    double length = 0;    // seconds
    double loudness = 0;  // LUFS over its length
};

}  // namespace

class AudioEndToEnd : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QProcess xvfb;
    QProcess xdotool;
    QProcessEnvironment displayEnv;
    std::unique_ptr<SoundServer> server;
    Pcm waves[7];

    // ---- the game ---------------------------------------------------------

    struct Game {
        QProcess process;
        QString programDir;
        QString configDir;
        double started = 0;
        Geometry window;
        int cell = 0;
        QPointF origin;
        QPointF at(double cx, double cy) const { return origin + QPointF(cx * cell, cy * cell); }
    };

    QProcessEnvironment gameEnv(const Game& game, const QString& runtimeDir) const
    {
        QProcessEnvironment env = displayEnv;
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), game.configDir);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        env.insert(QStringLiteral("HOME"), game.programDir);
        env.insert(QStringLiteral("QUELLON_NO_ANIMATION"), QStringLiteral("1"));
        env.insert(QStringLiteral("QUELLON_STARTUP_TIMES"), QStringLiteral("1"));
        // The client library would start a server of its own where none runs.
        env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), work.filePath(QStringLiteral("client.conf")));
        env.remove(QStringLiteral("PULSE_SERVER"));
        return env;
    }

    // The game in a program folder of its own: its modules, a catalogue of
    // two copies of one Quellon (the parking slots in orientation 0, piece 1
    // twelve columns further right), and the given music files.
    bool startGame(Game& game, const QString& name, const QByteArray& settings, const QString& runtimeDir,
                   const QStringList& music = {})
    {
        game.programDir = work.filePath(name + QStringLiteral("/program"));
        game.configDir = work.filePath(name + QStringLiteral("/config"));
        QDir().mkpath(game.programDir + QStringLiteral("/modules"));
        // Another build's game may be heard instead, e.g. to compare with an
        // older version: QUELLON_AUDIO_GAME names its executable.
        const QString exe = qEnvironmentVariable("QUELLON_AUDIO_GAME", QStringLiteral(QUELLON_GAME_EXE));
        const QString built = QFileInfo(exe).path();
        if (!QFile::copy(exe, game.programDir + QStringLiteral("/quellon")) ||
            !QFile::copy(built + QStringLiteral("/modules/quellon-sounds.so"),
                         game.programDir + QStringLiteral("/modules/quellon-sounds.so")))
            return false;
        QByteArray record;
        for (int n = 1; n <= kPieceCount; ++n) {
            const PieceState piece = solutionPiece(n);
            record.append(char(piece.x)).append(char(piece.y)).append(char(piece.orientation));
        }
        QFile catalogue(game.programDir + QStringLiteral("/zqln.dat"));
        if (!catalogue.open(QIODevice::WriteOnly) || catalogue.write(record + record) != 2 * record.size())
            return false;
        catalogue.close();
        for (const QString& file : music)
            QFile::copy(file, game.programDir + QLatin1Char('/') + QFileInfo(file).fileName());
        const QString settingsFile = SettingsStore::fileIn(game.configDir);
        QDir().mkpath(QFileInfo(settingsFile).path());
        QFile store(settingsFile);
        if (!store.open(QIODevice::WriteOnly))
            return false;
        store.write("[common]\ntongue=0\npatmode=0\n" + settings);
        store.close();

        game.process.setProcessEnvironment(gameEnv(game, runtimeDir));
        game.process.setWorkingDirectory(game.programDir);
        game.started = now();
        game.process.start(game.programDir + QStringLiteral("/quellon"), {});
        if (!game.process.waitForStarted())
            return false;
        std::optional<Geometry> window;
        const double deadline = now() + 60;
        while (!(window = gameWindow(game)) && now() < deadline && game.process.state() == QProcess::Running)
            QTest::qWait(50);
        if (!window)
            return false;
        QTest::qWait(500);  // the first paint
        game.window = *gameWindow(game);
        const TMainform::BoardLayout layout = TMainform::boardLayout(game.window.width, game.window.height);
        game.cell = layout.cellSize;
        game.origin = QPointF(game.window.x + layout.area.left(), game.window.y + layout.area.top());
        return true;
    }

    // A point of a piece in its turn zone, most of the way from the anchor
    // to its acute corner, turned by `turn` radians about the anchor.
    static QPointF turnGrip(const Game& game, PieceState piece, double turn)
    {
        const size_t corner = piece.orientation;
        const QPointF anchor = game.at(piece.x, piece.y);
        const QPointF arm = (game.at(piece.x + vertexX[corner], piece.y + vertexY[corner]) - anchor) * 0.8;
        const double c = std::cos(turn), s = std::sin(turn);
        return anchor + QPointF(arm.x() * c - arm.y() * s, arm.x() * s + arm.y() * c);
    }

    void endGame(Game& game)
    {
        if (game.process.state() != QProcess::NotRunning) {
            game.process.kill();
            game.process.waitForFinished();
        }
    }

    // When the first paint was done, on the test's clock (the game tells the
    // milliseconds since its start).
    std::optional<double> firstPaint(Game& game)
    {
        const QString said = QString::fromLocal8Bit(game.process.readAllStandardError());
        gameOutput_ += said;
        static const QRegularExpression line(QStringLiteral("([0-9.]+) ms  first paint done"));
        const QRegularExpressionMatch match = line.match(gameOutput_);
        if (!match.hasMatch())
            return std::nullopt;
        return game.started + match.captured(1).toDouble() / 1000;
    }
    QString gameOutput_;

    std::optional<Geometry> windowOfSize(qint64 pid, int width, int height)
    {
        const QStringList ids = run(QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                     QString::number(pid)},
                                    displayEnv)
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& id : ids) {
            const std::optional<Geometry> g = geometry(id);
            if (g && g->width == width && g->height == height)
                return g;
        }
        return std::nullopt;
    }

    std::optional<Geometry> geometry(const QString& id)
    {
        const QString shell = run(QStringLiteral("xdotool"),
                                  {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id}, displayEnv);
        Geometry g;
        int found = 0;
        for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString key = line.section(QLatin1Char('='), 0, 0);
            const int value = line.section(QLatin1Char('='), 1).toInt();
            int* field = key == QLatin1String("X")        ? &g.x
                         : key == QLatin1String("Y")      ? &g.y
                         : key == QLatin1String("WIDTH")  ? &g.width
                         : key == QLatin1String("HEIGHT") ? &g.height
                                                          : nullptr;
            if (field) {
                *field = value;
                ++found;
            }
        }
        return found == 4 ? std::optional(g) : std::nullopt;
    }

    std::optional<Geometry> gameWindow(Game& game)
    {
        const QString id =
            run(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                 QString::number(game.process.processId()), QStringLiteral("--name"), QStringLiteral("Zindle Quellon")},
                displayEnv)
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .value(0);
        return id.isEmpty() ? std::nullopt : geometry(id);
    }

    // ---- X events ---------------------------------------------------------

    // One xdotool for the whole test, reading its commands from a pipe: a
    // new process for every event took up to a fifth of a second to start on
    // a busy machine, which no measure of the game's delay should include.
    // Each command is followed by a query whose answer says it has been done.
    // Returns when the command was written, on the test's clock.
    double xdo(const QStringList& arguments)
    {
        const double written = now();
        xdotool.write((arguments.join(QLatin1Char(' ')) + QStringLiteral("\ngetmouselocation\n")).toLatin1());
        const double deadline = now() + 10;
        while (!xdotool.canReadLine() && now() < deadline)
            xdotool.waitForReadyRead(100);
        xdotool.readLine();
        return written;
    }
    static QStringList moveTo(QPointF p)
    {
        return {QStringLiteral("mousemove"), QString::number(qRound(p.x())), QString::number(qRound(p.y()))};
    }
    double click(QPointF p, int button = 1)
    {
        return xdo(moveTo(p) << QStringLiteral("click") << QString::number(button));
    }
    double press(QPointF p) { return xdo(moveTo(p) << QStringLiteral("mousedown") << QStringLiteral("1")); }
    double release() { return xdo({QStringLiteral("mouseup"), QStringLiteral("1")}); }

    // Sound on or off, or music switched, through the options dialog.
    bool optionsButton(Game& game, int top)
    {
        click(QPointF(game.window.x + game.window.width - 208 + 25, game.window.y + 6 + 25));
        std::optional<Geometry> dialog;
        const double deadline = now() + 10;
        while (!(dialog = windowOfSize(game.process.processId(), 497, 416)) && now() < deadline)
            QTest::qWait(50);
        if (!dialog)
            return false;
        if (top >= 0)
            optionsButtonClickTime_ = click(QPointF(dialog->x + 116 + 16 + 25, dialog->y + 12 + top + 25));
        QTest::qWait(100);
        click(QPointF(dialog->x + 436 + 25, dialog->y + 355 + 25));
        QTest::qWait(300);
        return !windowOfSize(game.process.processId(), 497, 416);
    }
    double optionsButtonClickTime_ = 0;
    static constexpr int kSoundButton = 103;
    static constexpr int kMusicButton = 159;

    static PieceState solutionPiece(int n)
    {
        PieceState piece = parkingSlot(n);
        piece.orientation = 0;
        if (n == 1)
            piece.x = static_cast<uint8_t>(piece.x + kPieceOneShift);
        return piece;
    }

    QImage screenshot()
    {
        const QString file = work.filePath(QStringLiteral("shot.png"));
        run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}, displayEnv, 20000);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    // ---- listening --------------------------------------------------------

    // The first sound that reached the test after `event`, searching until
    // `within` seconds later.
    Heard listen(const SinkRecorder& ears, double event, const Pcm& wave, double within = 0.5)
    {
        ears.reach(event + within + double(wave.frames()) / wave.rate + 0.1);
        const Pcm heard = ears.pcm();
        const double threshold = fileSound(wave).peak - 30;
        const size_t from = ears.frameAt(event);
        const size_t onset = media::firstFrameAbove(heard, from, threshold);
        Heard result;
        if (onset >= heard.frames() || ears.timeOf(onset) > event + within)
            return result;
        result.found = true;
        result.delay = ears.timeOf(onset) - event;
        const size_t waveLength = media::endOfSound(wave, 0, threshold, wave.rate / 50);
        const size_t span = size_t(double(waveLength) * kRate / wave.rate) + kRate / 50;
        result.peak = media::peakDecibels(heard, onset, span);
        const size_t end = media::endOfSound(heard, onset, threshold, kRate / 50);
        result.length = double(end - onset) / kRate;
        result.loudness = media::spanLoudness(heard, onset, end - onset);
        return result;
    }

    // Nothing at all reached the sink between the two times.
    bool silentBetween(const SinkRecorder& ears, double from, double to)
    {
        ears.reach(to);
        const Pcm heard = ears.pcm();
        const size_t first = ears.frameAt(from), last = std::min(heard.frames(), ears.frameAt(to));
        return last > first && media::peakDecibels(heard, first, last - first) < -80;
    }

    // The stretches of sound in the recording from `from` on: [start, end)
    // frames, split where at least `gap` seconds are near silence.
    static std::vector<std::pair<size_t, size_t>> stretches(const Pcm& heard, size_t from, double gap)
    {
        std::vector<std::pair<size_t, size_t>> found;
        for (size_t at = media::firstFrameAbove(heard, from, -60); at < heard.frames();) {
            const size_t end = media::endOfSound(heard, at, -60, size_t(gap * kRate));
            found.emplace_back(at, end);
            at = media::firstFrameAbove(heard, end, -60);
        }
        return found;
    }

    static qint64 residentKiB(qint64 pid)
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        return -1;
    }

    // Plays all six effects on the first of the two Quellons (or the second)
    // and checks what the sink heard after each event.
    void playEveryEffect(Game& game, SinkRecorder& ears, bool soundOn);

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyEffectArrivesOnTimeAtItsLevelAndNoneWithSoundOff();
    void musicStartsStopsAndRepeatsWithSteadyStreamsAndMemory();
    void soundOffHoldsNoStreamAndTheFirstSoundAfterSwitchingOnIsHeard();
    void effectsHeardAfterAnIdleSinkAndOnABusyMachine_data();
    void effectsHeardAfterAnIdleSinkAndOnABusyMachine();
    void serverKilledMidGameAndStartedAgain();
    void noServerAtStartIsSilentWithoutAMessage();
};

void AudioEndToEnd::initTestCase()
{
    for (const char* tool : {"Xvfb", "xdotool", "import", "pulseaudio", "parec", "pactl"})
        if (!onPath(tool))
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/deps)").arg(QLatin1String(tool))));
    QVERIFY(work.isValid());
    QFile conf(work.filePath(QStringLiteral("client.conf")));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("autospawn = no\n");
    conf.close();
    for (int n = 1; n <= 6; ++n) {
        static const char* const files[] = {"", "pick_up", "put_down", "turn_step", "move_step", "solved", "refused"};
        waves[n] = waveFile(QStringLiteral(QUELLON_SOUNDS_DIR "/%1.wav").arg(QLatin1String(files[n])));
        QVERIFY(waves[n].frames() > 100);
    }

    xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                                        QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                        QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QVERIFY(xvfb.waitForStarted());
    QByteArray reported;
    QTRY_VERIFY_WITH_TIMEOUT((reported += xvfb.readAllStandardOutput()).contains('\n'), 15000);
    displayEnv = QProcessEnvironment::systemEnvironment();
    displayEnv.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(reported.trimmed()));
    displayEnv.remove(QStringLiteral("QT_QPA_PLATFORM"));
    displayEnv.remove(QStringLiteral("WAYLAND_DISPLAY"));
    xdotool.setProcessEnvironment(displayEnv);
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("-")});
    QVERIFY(xdotool.waitForStarted());

    server = std::make_unique<SoundServer>(work.filePath(QStringLiteral("runtime")));
    QVERIFY2(server->start(), "the private sound server did not start");
}

void AudioEndToEnd::cleanupTestCase()
{
    xdotool.closeWriteChannel();
    if (!xdotool.waitForFinished(5000))
        xdotool.kill();
    server.reset();
    if (xvfb.state() != QProcess::NotRunning) {
        xvfb.terminate();
        if (!xvfb.waitForFinished(5000))
            xvfb.kill();
    }
}

void AudioEndToEnd::playEveryEffect(Game& game, SinkRecorder& ears, bool soundOn)
{
    auto slotAnchor = [&game](int n) {
        const PieceState slot = parkingSlot(n);
        return game.at(slot.x + 0.3, slot.y + 0.3);
    };
    const QPointF empty = game.at(45.5, 30.5);  // the middle of the board holds no piece
    const QImage start = screenshot();
    int orientation[kPieceCount + 1] = {};
    for (int n = 1; n <= kPieceCount; ++n) {
        orientation[n] = detectOrientation(start, parkingSlot(n), game.cell, game.origin);
        QVERIFY2(orientation[n] >= 0, qPrintable(QStringLiteral("piece %1 not found").arg(n)));
    }
    const QPointF oneHome = game.at(solutionPiece(1).x + 0.3, solutionPiece(1).y + 0.3);

    // Piece 1 at its solution's place, as it lies there.
    auto oneAtHome = [&] {
        PieceState piece = solutionPiece(1);
        piece.orientation = static_cast<uint8_t>(orientation[1]);
        return piece;
    };
    const std::vector<SoundingEvent> steps = {
        {"pick up", 1, [&] { return click(slotAnchor(8)); }},
        {"put down", 2, [&] { return click(empty); }},
        {"move step", 4,
         [&] {
             press(slotAnchor(1));  // picks piece 1 up
             QTest::qWait(500);
             return xdo(moveTo(slotAnchor(1) + QPointF(game.cell, 0)));
         }},
        {"turn step", 3,
         [&] {
             xdo(moveTo(oneHome));  // still dragging: piece 1 to its solution's place
             release();
             QTest::qWait(500);
             press(turnGrip(game, oneAtHome(), 0));
             QTest::qWait(500);
             // A third of a right angle counter-clockwise on the screen: one
             // or two steps in a single event, one sound.
             return xdo(moveTo(turnGrip(game, oneAtHome(), -0.55)));
         }},
        {"refused", 6,
         [&] {
             release();
             click(empty);  // puts piece 1 down where it is
             QTest::qWait(500);
             press(slotAnchor(2));
             xdo(moveTo(slotAnchor(3)));  // right on top of piece 3
             release();
             QTest::qWait(500);
             return click(empty);
         }},
        {"solved", 5,
         [&] {
             // Piece 2 back home, then every piece turned to orientation 0:
             // the last one put down completes the Quellon.
             press(slotAnchor(3));
             xdo(moveTo(slotAnchor(2)));
             release();
             click(empty);
             QTest::qWait(300);
             const QImage now = screenshot();
             orientation[1] = detectOrientation(now, solutionPiece(1), game.cell, game.origin);
             std::vector<int> wrong;
             for (int n = 1; n <= kPieceCount; ++n) {
                 const int o = n == 1 ? orientation[1] : detectOrientation(now, parkingSlot(n), game.cell, game.origin);
                 if (o < 0)
                     return -1.0;
                 orientation[n] = o;
                 if (o != 0)
                     wrong.push_back(n);
             }
             if (wrong.empty())
                 return -1.0;
             double last = 0;
             for (int n : wrong) {
                 click(n == 1 ? oneHome : slotAnchor(n));
                 for (int t = orientation[n]; t < kOrientationCount; ++t)
                     click(empty, 3);
                 QTest::qWait(100);
                 last = click(empty);
                 QTest::qWait(100);
             }
             return last;
         }},
    };

    const double begin = now();
    for (const SoundingEvent& step : steps) {
        const double event = step.act();
        QVERIFY2(
            event > 0,
            qPrintable(QStringLiteral("%1: the pieces were not where they should be").arg(QLatin1String(step.name))));
        const Pcm& wave = waves[step.sound];
        const Heard heard = listen(ears, event, wave);
        if (!soundOn) {
            QVERIFY2(!heard.found,
                     qPrintable(QStringLiteral("%1 was heard with sound off").arg(QLatin1String(step.name))));
            continue;
        }
        QVERIFY2(heard.found, qPrintable(QStringLiteral("%1: nothing reached the sink").arg(QLatin1String(step.name))));
        const auto [filePeak, fileLength] = fileSound(wave);
        qInfo(
            "%-9s after %5.1f ms, peak %5.1f dBFS (file %5.1f), %4.0f ms long (file %4.0f), %5.1f LUFS over its length",
            step.name, heard.delay * 1000, heard.peak, filePeak, heard.length * 1000, fileLength * 1000,
            heard.loudness);
        if (!kSanitized)
            QVERIFY2(
                heard.delay <= kEffectDelay,
                qPrintable(QStringLiteral("%1 came %2 ms late").arg(QLatin1String(step.name)).arg(heard.delay * 1000)));
        QVERIFY2(std::abs(heard.peak - filePeak) <= kLevelTolerance,
                 qPrintable(QStringLiteral("%1 peaks at %2 dBFS, its file at %3")
                                .arg(QLatin1String(step.name))
                                .arg(heard.peak)
                                .arg(filePeak)));
        // The length tells which sound it was (the solved bells are the only
        // long one), and that none was cut short.
        QVERIFY2(std::abs(heard.length - fileLength) <= 0.03,
                 qPrintable(QStringLiteral("%1 lasted %2 ms, its file %3 ms")
                                .arg(QLatin1String(step.name))
                                .arg(heard.length * 1000)
                                .arg(fileLength * 1000)));
        // Clearly above the music, yet never more than 10 LU above it.
        QVERIFY2(heard.loudness >= kLoudnessTarget + 3 && heard.loudness <= kLoudnessTarget + 10,
                 qPrintable(QStringLiteral("%1 at %2 LUFS").arg(QLatin1String(step.name)).arg(heard.loudness)));
        QTest::qWait(300);
    }
    if (!soundOn)
        QVERIFY(silentBetween(ears, begin, now()));
}

void AudioEndToEnd::everyEffectArrivesOnTimeAtItsLevelAndNoneWithSoundOff()
{
    if (kSanitized)
        QSKIP("The sanitizers slow the game several times over: the timing of sounds is measured in the plain build");
    Game game;
    QVERIFY2(startGame(game, QStringLiteral("effects"), "sound=1\nmusic=0\n", server->runtimeDir()),
             qPrintable(QString::fromLocal8Bit(game.process.readAllStandardError())));
    SinkRecorder ears;
    QVERIFY(ears.start(server->socket()));
    QTest::qWait(1500);  // the sounds open a moment after the first paint
    playEveryEffect(game, ears, true);
    if (QTest::currentTestFailed())
        return;

    // The solved message, then the second Quellon with sound off.
    const QPoint dialog(game.window.x + (game.window.width - 319) / 2,
                        game.window.y + game.window.height - (game.window.height + 158) / 2);
    click(dialog + QPoint(285, 125));
    QTest::qWait(300);
    click(QPointF(game.window.x + 270 + 25, game.window.y + 6 + 11));  // UpBtn: the next Quellon
    QVERIFY(optionsButton(game, kSoundButton));
    QTest::qWait(500);
    playEveryEffect(game, ears, false);
    endGame(game);
}

void AudioEndToEnd::musicStartsStopsAndRepeatsWithSteadyStreamsAndMemory()
{
    if (kSanitized)
        QSKIP("The sanitizers slow the game several times over: the timing of music is measured in the plain build");
    // Pieces of a few seconds from the music tool, in the program folder of
    // this game only.
    const QString shortDir = work.filePath(QStringLiteral("short"));
    QProcess tool;
    tool.start(QStringLiteral(QUELLON_MAKE_MUSIC), {QStringLiteral("--short"), shortDir});
    QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
    const QStringList pieces = QDir(shortDir).entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
    QVERIFY(pieces.size() >= 2);

    SinkRecorder ears;
    QVERIFY(ears.start(server->socket()));
    Game game;
    QVERIFY(startGame(game, QStringLiteral("music"), "sound=1\nmusic=1\n", server->runtimeDir(),
                      {shortDir + QLatin1Char('/') + pieces[0], shortDir + QLatin1Char('/') + pieces[1]}));
    std::optional<double> painted;
    QTRY_VERIFY_WITH_TIMEOUT((painted = firstPaint(game)).has_value(), 10000);

    // The first piece arrives within a second of the first paint.
    QVERIFY(ears.reach(*painted + kMusicDelay + 3));
    const Pcm early = ears.pcm();
    const size_t onset = media::firstFrameAbove(early, ears.frameAt(game.started), -50);
    QVERIFY2(onset < early.frames(), "no music within three seconds of the first paint");
    qInfo("music after %.0f ms from the first paint", (ears.timeOf(onset) - *painted) * 1000);
    QVERIFY2(ears.timeOf(onset) - *painted <= kMusicDelay,
             qPrintable(
                 QStringLiteral("music came %1 ms after the first paint").arg((ears.timeOf(onset) - *painted) * 1000)));

    // Five ends of the piece: it starts again each time, with one stream at
    // the server all along and no growth in memory.
    const qint64 pid = game.process.processId();
    QList<int> streams;
    qint64 memoryAfterFirstEnd = -1;
    const double deadline = now() + 60;
    size_t ends = 0;
    while (ends < 6 && now() < deadline) {
        QTest::qWait(500);
        streams << server->musicStreamsOf(pid);
        ends = stretches(ears.pcm(), onset, 0.25).size() - 1;
        if (ends >= 1 && memoryAfterFirstEnd < 0)
            memoryAfterFirstEnd = residentKiB(pid);
    }
    const qint64 memoryAfterLastEnd = residentKiB(pid);
    qInfo("%zu piece ends, streams at the server %s, memory %lld kB after the first end, %lld kB after the last", ends,
          qPrintable(QString::number(streams.first())), memoryAfterFirstEnd, memoryAfterLastEnd);
    QVERIFY2(ends >= 5, qPrintable(QStringLiteral("the piece ended and started again %1 times in a minute").arg(ends)));
    QCOMPARE(streams.count(1), streams.size());
    QVERIFY2(memoryAfterLastEnd - memoryAfterFirstEnd < 2048,
             qPrintable(QStringLiteral("memory grew by %1 kB").arg(memoryAfterLastEnd - memoryAfterFirstEnd)));

    // Off in the options: silence, and no stream left open.
    QVERIFY(optionsButton(game, kMusicButton));
    const double off = now();
    QVERIFY(silentBetween(ears, off + 0.2, off + 1.5));
    QCOMPARE(server->musicStreamsOf(pid), 0);
    // On again: the next piece plays.
    QVERIFY(optionsButton(game, kMusicButton));
    QVERIFY(ears.reach(now() + 1.0));
    const Pcm later = ears.pcm();
    const size_t again = media::firstFrameAbove(later, ears.frameAt(optionsButtonClickTime_), -50);
    QVERIFY2(again < later.frames(), "no music after switching it on again");
    QVERIFY2(ears.timeOf(again) - optionsButtonClickTime_ <= kMusicDelay,
             qPrintable(QStringLiteral("music came back %1 ms after the switch")
                            .arg((ears.timeOf(again) - optionsButtonClickTime_) * 1000)));
    endGame(game);
}

void AudioEndToEnd::soundOffHoldsNoStreamAndTheFirstSoundAfterSwitchingOnIsHeard()
{
    Game game;
    QVERIFY(startGame(game, QStringLiteral("switched-on"), "sound=0\nmusic=0\n", server->runtimeDir()));
    const qint64 pid = game.process.processId();
    QTest::qWait(1500);  // the sounds open a moment after the first paint
    QCOMPARE(server->effectStreamsOf(pid), 0);
    SinkRecorder ears;
    QVERIFY(ears.start(server->socket()));
    QVERIFY(optionsButton(game, kSoundButton));
    const PieceState slot = parkingSlot(8);
    const double event = click(game.at(slot.x + 0.3, slot.y + 0.3));
    const Heard heard = listen(ears, event, waves[kSoundPickUp]);
    QVERIFY2(heard.found, "the first sound after switching sound on was not heard");
    qInfo("the first sound after switching on: after %.0f ms", heard.delay * 1000);
    if (!kSanitized)
        QVERIFY(heard.delay <= kEffectDelay);
    QCOMPARE(server->effectStreamsOf(pid), 1);
    endGame(game);
}

void AudioEndToEnd::effectsHeardAfterAnIdleSinkAndOnABusyMachine_data()
{
    QTest::addColumn<double>("pause");  // seconds without a sound before each try
    QTest::addColumn<int>("spinners");  // busy processes beside the game
    QTest::addColumn<bool>("deep");     // ears that let the sink buffer ahead
    QTest::newRow("idle sink") << 3.0 << 0 << true;
    QTest::newRow("busy machine") << 0.5 << 2 << true;
    QTest::newRow("busy machine, timed") << 0.5 << 2 << false;
}

// Twenty tries of four effects with piece 8: picked up where it lies,
// turned, refused on top of piece 6, put down in the middle of the board.
// Every effect must reach the sink whole, in the order played; the sounds
// are told apart by their length and level. With ears at low latency the
// delays from the events are measured too.
void AudioEndToEnd::effectsHeardAfterAnIdleSinkAndOnABusyMachine()
{
    if (kSanitized)
        QSKIP("The sanitizers slow the game several times over: the timing of sounds is measured in the plain build");
    QFETCH(double, pause);
    QFETCH(int, spinners);
    QFETCH(bool, deep);
    constexpr int kTries = 20;
    Game game;
    QVERIFY(startGame(game, QStringLiteral("tries-%1-%2").arg(spinners).arg(deep), "sound=1\nmusic=0\n",
                      server->runtimeDir()));
    SinkRecorder ears;
    QVERIFY(ears.start(server->socket(), deep));
    std::vector<std::unique_ptr<QProcess>> busy;
    for (int i = 0; i < spinners; ++i) {
        busy.push_back(std::make_unique<QProcess>());
        busy.back()->start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        QVERIFY(busy.back()->waitForStarted());
    }
    auto stopSpinners = qScopeGuard([&busy] {
        for (auto& process : busy) {
            process->kill();
            process->waitForFinished();
        }
    });

    auto grip = [&game](PieceState at) { return game.at(at.x + 0.3, at.y + 0.3); };
    const PieceState middle{45, 30, 0};
    const QPointF empty = game.at(45.5, 52.5);
    PieceState piece = parkingSlot(8);
    const std::vector<SoundingEvent> effects = {
        {"pick up", kSoundPickUp,
         [&] {
             const double event = press(grip(piece));
             release();
             return event;
         }},
        {"turn step", kSoundTurnStep,
         [&] {
             // From near the acute corner, a third of a right angle round.
             press(turnGrip(game, piece, 0));
             const double event = xdo(moveTo(turnGrip(game, piece, -0.55)));
             release();
             return event;
         }},
        {"refused", kSoundRefused,
         [&] {
             press(grip(piece));
             xdo(moveTo(grip(parkingSlot(6))));  // a move step
             release();
             QTest::qWait(250);
             return click(empty);
         }},
        {"put down", kSoundPutDown,
         [&] {
             press(grip(parkingSlot(6)));
             xdo(moveTo(grip(middle)));  // a move step
             release();
             QTest::qWait(250);
             return click(empty);
         }},
    };

    std::vector<int> played;
    std::vector<double> delays;
    std::map<int, int> timed;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        piece.orientation = static_cast<uint8_t>(detectOrientation(screenshot(), piece, game.cell, game.origin));
        QVERIFY2(piece.orientation < kOrientationCount, "piece 8 was not where it should be");
        QTest::qWait(int(pause * 1000));
        for (const SoundingEvent& effect : effects) {
            const double event = effect.act();
            played.push_back(effect.sound);
            if (!deep) {
                const Heard heard = listen(ears, event, waves[effect.sound]);
                if (heard.found) {
                    delays.push_back(heard.delay);
                    ++timed[effect.sound];
                }
            }
            QTest::qWait(250);
        }
        piece = middle;
    }
    QVERIFY(ears.reach(now() + 3));

    // What the sink carried, sound by sound: each told by the wave whose
    // length (within 8 ms: the sink's sounds end a few ms before their
    // files') and peak (within 1.5 dB) it has; move steps and anything else
    // left out. The lengths lie 13 ms or more apart.
    const Pcm heard = ears.pcm();
    std::map<int, FileSound> files;
    for (const SoundingEvent& effect : effects)
        files[effect.sound] = fileSound(waves[effect.sound]);
    std::vector<int> carried;
    for (const auto& [from, to] : stretches(heard, 0, 0.1)) {
        for (const auto& [n, file] : files) {
            const auto [filePeak, fileLength] = file;
            const size_t onset = media::firstFrameAbove(heard, from, filePeak - 30);
            if (onset >= to)
                continue;
            const double length = double(media::endOfSound(heard, onset, filePeak - 30, kRate / 50) - onset) / kRate;
            const double peak = media::peakDecibels(heard, onset, to - onset);
            if (std::abs(length - fileLength) <= 0.008 && std::abs(peak - filePeak) <= 1.5) {
                carried.push_back(n);
                break;
            }
        }
    }
    // Matched in order (longest common subsequence): a lost or cut sound
    // leaves its place unmatched.
    std::vector<std::vector<int>> common(played.size() + 1, std::vector<int>(carried.size() + 1, 0));
    for (size_t i = played.size(); i-- > 0;)
        for (size_t j = carried.size(); j-- > 0;)
            common[i][j] =
                played[i] == carried[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    std::map<int, int> heardCount;
    for (size_t i = 0, j = 0; i < played.size() && j < carried.size();) {
        if (played[i] == carried[j]) {
            ++heardCount[played[i]];
            ++i;
            ++j;
        } else if (common[i + 1][j] >= common[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    std::sort(delays.begin(), delays.end());
    auto ms = [&delays](double quantile) {
        return delays.empty() ? -1.0 : 1000 * delays[size_t(quantile * double(delays.size() - 1))];
    };
    qInfo("heard whole: pick up %d, turn step %d, refused %d, put down %d of %d each", heardCount[kSoundPickUp],
          heardCount[kSoundTurnStep], heardCount[kSoundRefused], heardCount[kSoundPutDown], kTries);
    if (!deep)
        qInfo("from the event to the sink: median %.0f ms, worst %.0f ms over %zu effects", ms(0.5), ms(1),
              delays.size());
    for (const SoundingEvent& effect : effects) {
        QVERIFY2(heardCount[effect.sound] == kTries, qPrintable(QStringLiteral("%1 heard whole in %2 of %3 tries")
                                                                    .arg(QLatin1String(effect.name))
                                                                    .arg(heardCount[effect.sound])
                                                                    .arg(kTries)));
        if (!deep)
            QCOMPARE(timed[effect.sound], kTries);
    }
    endGame(game);
}

void AudioEndToEnd::serverKilledMidGameAndStartedAgain()
{
    Game game;
    QVERIFY(startGame(game, QStringLiteral("comes-and-goes"), "sound=1\nmusic=1\n", server->runtimeDir(),
                      {QStringLiteral(QUELLON_MUSIC_DIR "/1 Morgenlicht.mid")}));
    const qint64 pid = game.process.processId();
    {
        // The music playing at the sink.
        SinkRecorder before;
        QVERIFY(before.start(server->socket()));
        auto playing = [&before] {
            const Pcm heard = before.pcm();
            return media::firstFrameAbove(heard, 0, -50) < heard.frames();
        };
        const double deadline = now() + 10;
        while (!playing() && now() < deadline)
            QTest::qWait(100);
        QVERIFY2(playing(), "no music before the server went away");
        QCOMPARE(server->musicStreamsOf(pid), 1);
    }

    server->kill();
    // The game goes on: a piece picked up and put down (to no server), the
    // options opened and closed, the window still there.
    const PieceState slot = parkingSlot(8);
    click(game.at(slot.x + 0.3, slot.y + 0.3));
    click(game.at(45.5, 30.5));
    QVERIFY2(optionsButton(game, -1), "the options dialog did not come and go without the sound server");
    QCOMPARE(game.process.state(), QProcess::Running);
    QVERIFY(gameWindow(game).has_value());

    // The server again: the music comes back by itself, the effects at the
    // next sound, within a few seconds.
    QVERIFY2(server->start(), "the sound server did not start again");
    SinkRecorder ears;
    QVERIFY(ears.start(server->socket()));
    const double back = now();
    bool music = false, effect = false;
    // A few seconds; the sanitizers' build loads its libraries slower.
    while (now() < back + (kSanitized ? 30 : 10) && !(music && effect)) {
        const double event = click(game.at(slot.x + 0.3, slot.y + 0.3));
        QTest::qWait(400);
        click(game.at(45.5, 30.5));
        QTest::qWait(600);
        const Pcm heard = ears.pcm();
        music = music || server->musicStreamsOf(pid) >= 1;
        effect = effect || listen(ears, event, waves[kSoundPickUp], 0.4).peak > -20;
        music = music && media::firstFrameAbove(heard, 0, -50) < heard.frames();
    }
    qInfo("after the server came back: music %s, effects %s, %.1f s", music ? "yes" : "no", effect ? "yes" : "no",
          now() - back);
    QVERIFY2(music, qPrintable(QStringLiteral("the music did not come back; the game said:\n") +
                               QString::fromLocal8Bit(game.process.readAllStandardError())));
    QVERIFY2(effect, "the effects did not come back");
    QCOMPARE(game.process.state(), QProcess::Running);
    endGame(game);
}

void AudioEndToEnd::noServerAtStartIsSilentWithoutAMessage()
{
    const QString nowhere = work.filePath(QStringLiteral("no-server"));
    QDir().mkpath(nowhere);
    Game game;
    QVERIFY(startGame(game, QStringLiteral("silent"), "sound=1\nmusic=1\n", nowhere,
                      {QStringLiteral(QUELLON_MUSIC_DIR "/1 Morgenlicht.mid")}));
    const PieceState slot = parkingSlot(8);
    click(game.at(slot.x + 0.3, slot.y + 0.3));
    QTest::qWait(300);
    click(game.at(45.5, 30.5));
    QTest::qWait(2500);  // the music's start and a few ticks of its timer
    QCOMPARE(game.process.state(), QProcess::Running);
    // One window, the main one: no message box.
    const QStringList windows = run(QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                     QString::number(game.process.processId())},
                                    displayEnv)
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(windows.size(), 1);
    QVERIFY(gameWindow(game).has_value());
    endGame(game);
}

QTEST_GUILESS_MAIN(AudioEndToEnd)
#include "audio_e2e_test.moc"
