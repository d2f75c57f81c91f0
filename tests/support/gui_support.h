// Shared pieces of the in-process window tests: a program directory with a
// catalogue of our own, settings isolated per test, and seams that answer
// the message dialog and write down sounds and messages in one log.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QRegion>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/game_data.h"
#include "media/game_media.h"
#include "ui/message_seam.h"
#include "storage/settings_store.h"
#include "session/sound.h"

namespace quellon::testing {

// A Quellon whose eight pieces lie apart in two rows in the middle of the
// board (no two share a cell), shifted by `variant` columns so that records differ.
inline PuzzleRecord sampleRecord(int variant = 0)
{
    PuzzleRecord record;
    for (int k = 0; k < kPieceCount; ++k)
        record.pieces[static_cast<size_t>(k)] =
            PieceState{static_cast<uint8_t>(28 + 14 * (k % 4) + variant % 5), static_cast<uint8_t>(20 + 16 * (k / 4)),
                       static_cast<uint8_t>((3 * k + variant) % 16)};
    return record;
}

inline QByteArray recordBytes(const PuzzleRecord& record)
{
    QByteArray bytes;
    for (const PieceState& piece : record.pieces) {
        bytes.append(static_cast<char>(piece.x));
        bytes.append(static_cast<char>(piece.y));
        bytes.append(static_cast<char>(piece.orientation));
    }
    return bytes;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

inline void writeCatalogue(const QString& dir, int count)
{
    QByteArray bytes;
    for (int n = 1; n <= count; ++n)
        bytes += recordBytes(sampleRecord(n));
    writeFile(dir + QStringLiteral("/zqln.dat"), bytes);
}

// A program directory and a settings store of the test's own. Made before
// the window so that the first QSettings of the test already reads here.
struct Sandbox {
    QTemporaryDir programDir;
    QTemporaryDir configDir;

    Sandbox() { SettingsStore::redirectTo(configDir.path()); }
    QString dir() const { return programDir.path() + QLatin1Char('/'); }
    // The store's file, for looking at or hand-editing the stored text.
    QString settingsFile() const { return SettingsStore::fileIn(configDir.path()); }
    void setSetting(const QString& key, const QString& value) const
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, SettingsStore::kOrganisation,
                           SettingsStore::kApplication);
        settings.setValue(QStringLiteral("common/") + key, value);
    }
    QString setting(const QString& key) const
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, SettingsStore::kOrganisation,
                           SettingsStore::kApplication);
        return settings.value(QStringLiteral("common/") + key).toString();
    }
};

// One log for sounds, messages and hooks, so the order of steps shows.
struct EventLog {
    QStringList entries;
};

class LoggingSound : public SoundEffects {
public:
    explicit LoggingSound(EventLog& log) : log_(log) {}
    void playSound(SoundNumber n) override { log_.entries << QStringLiteral("sound %1").arg(n); }
    void setSoundsEnabled(bool on) override { log_.entries << QStringLiteral("sounds %1").arg(on ? "on" : "off"); }

private:
    EventLog& log_;
};

// Answers questions from a queue (Yes when it is empty).
class AnsweringMessages : public Messages {
public:
    explicit AnsweringMessages(EventLog& log) : log_(log) {}
    std::deque<int> answers;
    QStringList fatal;
    std::function<void()> whileShown;  // runs as if the dialog were up

    int showCode(MessageCode code) override
    {
        log_.entries << QStringLiteral("message %1").arg(static_cast<int>(code));
        return next();
    }
    int showText(MessageCode code, const QString& text) override
    {
        log_.entries << QStringLiteral("message %1 %2").arg(static_cast<int>(code)).arg(text);
        return next();
    }
    void showFatal(const QString& text) override
    {
        fatal << text;
        log_.entries << QStringLiteral("fatal ") + text;
    }

private:
    int next()
    {
        if (whileShown)
            whileShown();
        if (answers.empty())
            return 6;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    EventLog& log_;
};

class SilentSound : public SoundEffects {
public:
    void playSound(SoundNumber) override {}
    void setSoundsEnabled(bool) override {}
};

// Help and music as the main window sees them, writing down what it asks.
class RecordingMedia : public GameMedia {
public:
    std::vector<int> helpContexts;
    int helpCloses = 0;
    int musicStarts = 0;
    int musicTicks = 0;
    int musicStops = 0;
    bool musicOn = true;
    bool found = false;
    QString fileName;
    std::function<void()> onMusicStart;  // runs at the start, to look at the game then

    void openHelp(int context, const QWidget&) override { helpContexts.push_back(context); }
    void closeHelp() override { ++helpCloses; }
    void startMusic() override
    {
        ++musicStarts;
        if (onMusicStart)
            onMusicStart();
    }
    void musicTick() override { ++musicTicks; }
    void stopMusic() override { ++musicStops; }
    // Switched on, the player goes on to the next of `files`.
    QStringList files;
    int playing = 0;
    bool toggleMusic() override
    {
        musicOn = !musicOn;
        if (musicOn && !files.isEmpty())
            playing = (playing + 1) % static_cast<int>(files.size());
        return musicOn;
    }
    bool musicFound() const override { return found; }
    QString musicFileName() const override { return files.isEmpty() ? fileName : files[playing]; }
};

inline void sendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint pos)
{
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void press(QWidget* box, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(box, QEvent::MouseButtonPress, button, button, pos);
}

inline void release(QWidget* box, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(box, QEvent::MouseButtonRelease, button, Qt::NoButton, pos);
}

inline void moveHeld(QWidget* box, QPoint pos, Qt::MouseButtons buttons = Qt::LeftButton)
{
    sendMouse(box, QEvent::MouseMove, Qt::NoButton, buttons, pos);
}

// What a screen of two device pixels per pixel shows of the widget.
inline QImage renderedAtDoubleScale(QWidget& widget)
{
    QImage image(widget.size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

// Lines must keep their pixels on a scaled screen: inside `band` (in the
// widget's pixels) every device pixel at double scale is black exactly when
// its pixel at single scale is. Gives the first device pixel that is not.
inline std::optional<QPoint> blackMovedAtDoubleScale(QWidget& widget, const QRegion& band)
{
    const QImage single = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage twice = renderedAtDoubleScale(widget);
    auto black = [](const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) == 0; };
    for (const QRect& rect : band)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        if (black(twice, 2 * x + dx, 2 * y + dy) != black(single, x, y))
                            return QPoint(2 * x + dx, 2 * y + dy);
    return std::nullopt;
}

}  // namespace quellon::testing
