// The artwork drawn at build time: bit for bit what the game's renderer
// draws, and all a start needs, at the ratio the test runs at (ctest runs it
// at 1 and 2): the main window, every face of its buttons, every background,
// the board cursors and the pattern window show without parsing any SVG.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include "ui/art_render.h"
#include "ui/dialog_look.h"
#include "session/game_session.h"
#include "play/game_windows.h"
#include "play/board_view.h"
#include "play/main_form.h"
#include "play/pattern_form.h"
#include "tests/support/gui_support.h"

using namespace quellon;
using namespace quellon::testing;

class PrerenderedArtTest : public QObject {
    Q_OBJECT

private slots:
    void picturesDrawnAtBuildTimeAreWhatTheRendererDraws()
    {
        QFile list(QStringLiteral(QUELLON_SOURCE_DIR "/resources/art/prerendered.txt"));
        QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList listed;
        for (const QString& line : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'))) {
            const QString entry = line.section(QLatin1Char('#'), 0, 0).simplified();
            if (!entry.isEmpty())
                for (const int ratio : {1, 2})
                    listed << entry.section(QLatin1Char(' '), 0, 0) + QLatin1Char('@') +
                                  entry.section(QLatin1Char(' '), 1, 1) + QLatin1Char('@') + QString::number(ratio) +
                                  QStringLiteral(".argb");
        }
        QStringList embedded = QDir(QStringLiteral(":/prerendered")).entryList(QDir::Files);
        listed.sort();
        embedded.sort();
        QCOMPARE(embedded, listed);

        static const QRegularExpression name(QStringLiteral("^(.+\\.svg)@(\\d+)x(\\d+)@([12])\\.argb$"));
        for (const QString& file : embedded) {
            const QRegularExpressionMatch parts = name.match(file);
            QVERIFY2(parts.hasMatch(), qPrintable(file));
            const QSize pixels =
                QSize(parts.captured(2).toInt(), parts.captured(3).toInt()) * parts.captured(4).toInt();
            QFile stored(QStringLiteral(":/prerendered/") + file);
            QVERIFY(stored.open(QIODevice::ReadOnly));
            const QImage drawn = decodeArtImage(stored.readAll());
            const QImage fresh = renderSvgArt(QStringLiteral(":/art/") + parts.captured(1), pixels);
            QVERIFY2(!fresh.isNull() && drawn == fresh, qPrintable(file));
        }
        // A damaged file is refused, not shown as garbage.
        QFile sample(QStringLiteral(":/prerendered/") + embedded.constFirst());
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray bytes = sample.readAll();
        QVERIFY(decodeArtImage(bytes.left(bytes.size() - 1)).isNull());
        QVERIFY(decodeArtImage(QByteArray("QLA2") + bytes.mid(4)).isNull());
    }

    void theGameShowsWithoutDrawingSvg()
    {
        Sandbox sandbox;
        writeCatalogue(sandbox.programDir.path(), 3);
        sandbox.setSetting(QStringLiteral("tongue"), QStringLiteral("0"));
        EventLog log;
        AnsweringMessages messages(log);
        // Before the window, which still calls on them while it closes.
        GameSession session;
        SilentSound sound;
        RecordingMedia media;
        TMainform form(session, sound, media, &messages, sandbox.programDir.path());
        QVERIFY(form.FormCreate());
        GameWindows& windows = form.windows();
        form.showRestored();
        for (int background = 0; background < kBackgroundCount; ++background) {
            session.settings().background = background;
            form.grab();
        }
        for (ImageButton* button : form.findChildren<ImageButton*>()) {
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), button->mapToGlobal(QPointF(1, 1)));
            QApplication::sendEvent(button, &enter);
            button->grab();
            button->setEnabled(false);
            button->grab();
            button->setEnabled(true);
        }
        form.boardView()->turnCursor();
        form.boardView()->moveCursor();
        windows.patternWindow().show();
        windows.patternWindow().grab();
        QCOMPARE(artRenderedAtRunTime(), QStringList());
    }
};

QTEST_MAIN(PrerenderedArtTest)
#include "prerendered_art_test.moc"
