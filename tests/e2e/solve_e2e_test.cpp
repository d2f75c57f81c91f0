// End to end: the real program under its own X server, driven by xdotool
// with real pointer presses, a drag and right clicks until its one Quellon is
// solved; a screenshot then has to show green pieces and the solved message.
//
// The Quellon is the eight parking slots with every piece in orientation 0,
// piece 1 twelve columns further right. The test reads each parked piece's
// random orientation off a screenshot, turns it home with right clicks, drags
// piece 1 over and puts every piece down.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPolygonF>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

#include "engine/orientation_table.h"
#include "engine/setup.h"
#include "storage/settings_store.h"
#include "play/main_form.h"
#include "tests/support/board_reading.h"
#include "tests/support/process_run.h"

using namespace quellon;
using namespace quellon::e2e;

namespace {

constexpr int kPieceOneShift = 12;

struct Geometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

bool onPath(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

PieceState solutionPiece(int n)
{
    PieceState piece = parkingSlot(n);
    piece.orientation = 0;
    if (n == 1)
        piece.x = static_cast<uint8_t>(piece.x + kPieceOneShift);
    return piece;
}

}  // namespace

class SolveEndToEnd : public QObject {
    Q_OBJECT

    QProcessEnvironment env;
    QProcess xvfb;
    QProcess game;
    QTemporaryDir programDir;
    QTemporaryDir configDir;
    QTemporaryDir shotDir;
    int display = -1;
    int shots = 0;

    void xdo(const QStringList& arguments) { run(QStringLiteral("xdotool"), arguments, env); }

    void click(QPointF p, int button = 1)
    {
        xdo({QStringLiteral("mousemove"), QString::number(qRound(p.x())), QString::number(qRound(p.y())),
             QStringLiteral("click"), QString::number(button)});
        QTest::qWait(60);
    }

    QImage screenshot()
    {
        const QString file = shotDir.filePath(QStringLiteral("shot%1.png").arg(++shots));
        run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}, env, 20000);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    std::optional<Geometry> gameWindow()
    {
        const QString id = run(QStringLiteral("xdotool"),
                               {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                QStringLiteral("Zindle Quellon")},
                               env)
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                               .value(0);
        if (id.isEmpty())
            return std::nullopt;
        const QString shell =
            run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id}, env);
        Geometry g;
        for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString key = line.section(QLatin1Char('='), 0, 0);
            const int value = line.section(QLatin1Char('='), 1).toInt();
            if (key == QLatin1String("X"))
                g.x = value;
            else if (key == QLatin1String("Y"))
                g.y = value;
            else if (key == QLatin1String("WIDTH"))
                g.width = value;
            else if (key == QLatin1String("HEIGHT"))
                g.height = value;
        }
        return g;
    }

private slots:
    void initTestCase()
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (!onPath(QLatin1String(tool)))
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        // Xvfb picks a free display itself and reports its number once it
        // accepts connections: no race with other tests starting servers.
        // -noreset: otherwise the server starts afresh whenever its last
        // client leaves (every xdotool call here) and refuses the game if it
        // connects just then.
        xvfb.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                    QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY(xvfb.waitForStarted());
        QByteArray reported;
        QTRY_VERIFY_WITH_TIMEOUT((reported += xvfb.readAllStandardOutput()).contains('\n'), 15000);
        bool ok = false;
        display = reported.trimmed().toInt(&ok);
        QVERIFY2(ok, reported.constData());

        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir.path());
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        // The screenshots read the pieces at their places from the start.
        env.insert(QStringLiteral("QUELLON_NO_ANIMATION"), QStringLiteral("1"));

        // The program directory: a copy of the game and a one-Quellon catalogue.
        const QString exe = programDir.filePath(QStringLiteral("quellon"));
        QVERIFY(QFile::copy(QStringLiteral(QUELLON_GAME_EXE), exe));
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QByteArray record;
        for (int n = 1; n <= kPieceCount; ++n) {
            const PieceState piece = solutionPiece(n);
            record.append(char(piece.x)).append(char(piece.y)).append(char(piece.orientation));
        }
        QFile catalogue(programDir.filePath(QStringLiteral("zqln.dat")));
        QVERIFY(catalogue.open(QIODevice::WriteOnly));
        catalogue.write(record);
        catalogue.close();

        // English, pattern on the board, quiet.
        const QString settingsFile = SettingsStore::fileIn(configDir.path());
        QDir().mkpath(QFileInfo(settingsFile).path());
        QFile settings(settingsFile);
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[common]\ntongue=0\npatmode=0\nsound=0\nmusic=0\n");
    }

    void cleanupTestCase()
    {
        if (game.state() != QProcess::NotRunning) {
            game.kill();
            game.waitForFinished();
        }
        if (xvfb.state() != QProcess::NotRunning) {
            xvfb.terminate();
            if (!xvfb.waitForFinished(5000)) {
                xvfb.kill();
                xvfb.waitForFinished();
            }
        }
    }

    void solveWithTheMouse()
    {
        game.setProcessEnvironment(env);
        game.setWorkingDirectory(programDir.path());
        game.start(programDir.filePath(QStringLiteral("quellon")), {});
        QVERIFY(game.waitForStarted());
        std::optional<Geometry> window;
        // A sanitizer build on a busy machine may take long to show the window;
        // when it never does, say what the game said and whether it still runs.
        QTRY_VERIFY2_WITH_TIMEOUT(
            (window = gameWindow()).has_value(),
            qPrintable(
                QStringLiteral("no game window; the game is %1, exit code %2, output: %3")
                    .arg(game.state() == QProcess::Running ? QStringLiteral("running") : QStringLiteral("not running"))
                    .arg(game.exitCode())
                    .arg(QString::fromLocal8Bit(game.readAllStandardError() + game.readAllStandardOutput()))),
            60000);
        QTest::qWait(500);  // the first paint
        window = gameWindow();
        QVERIFY(window);
        const TMainform::BoardLayout layout = TMainform::boardLayout(window->width, window->height);
        const int cell = layout.cellSize;
        const QPointF origin(window->x + layout.area.left(), window->y + layout.area.top());
        auto at = [&](double cx, double cy) { return origin + QPointF(cx * cell, cy * cell); };

        const QImage start = screenshot();
        QVERIFY(!start.isNull());
        int orientation[kPieceCount + 1] = {};
        for (int n = 1; n <= kPieceCount; ++n) {
            orientation[n] = detectOrientation(start, parkingSlot(n), cell, origin);
            QVERIFY2(orientation[n] >= 0, qPrintable(QStringLiteral("piece %1 not found").arg(n)));
        }

        const QPointF empty = at(45.5, 30.5);  // the middle of the board holds no piece
        for (int n = kPieceCount; n >= 1; --n) {
            const PieceState slot = parkingSlot(n);
            const QPointF anchor = at(slot.x + 0.3, slot.y + 0.3);
            const int turns = (kOrientationCount - orientation[n]) % kOrientationCount;
            if (n != 1 && turns == 0)
                continue;
            if (n == 1) {
                // Press on the piece and drag it cell by cell to its place.
                xdo({QStringLiteral("mousemove"), QString::number(qRound(anchor.x())),
                     QString::number(qRound(anchor.y())), QStringLiteral("mousedown"), QStringLiteral("1")});
                QTest::qWait(60);
                for (int step = 1; step <= kPieceOneShift; ++step) {
                    const QPointF p = anchor + QPointF(step * cell, 0);
                    xdo({QStringLiteral("mousemove"), QString::number(qRound(p.x())), QString::number(qRound(p.y()))});
                    QTest::qWait(20);
                }
                xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
                QTest::qWait(60);
            } else {
                click(anchor);
            }
            for (int t = 0; t < turns; ++t)
                click(empty, 3);
            click(empty);  // put it down
        }

        QTest::qWait(700);
        const QImage solved = screenshot();
        for (int n = 1; n <= kPieceCount; ++n) {
            const QPolygonF shape = triangle(solutionPiece(n), cell, origin);
            const QPointF centre = (shape[0] + shape[1] + shape[2]) / 3;
            const QRgb colour = solved.pixel(centre.toPoint());
            QVERIFY2(colour == qRgb(0, 255, 0), qPrintable(QStringLiteral("piece %1 is %2").arg(n).arg(colour, 8, 16)));
        }
        // The solved message over the main window: white text on its panel,
        // where before there was only the board.
        const QPoint dialog(window->x + (window->width - 319) / 2,
                            window->y + window->height - (window->height + 158) / 2);
        const QRect text(dialog + QPoint(18, 19), QSize(284, 63));
        auto whitePixels = [&text](const QImage& shot) {
            int count = 0;
            for (int y = text.top(); y <= text.bottom(); ++y)
                for (int x = text.left(); x <= text.right(); ++x)
                    count += shot.pixel(x, y) == qRgb(255, 255, 255);
            return count;
        };
        QCOMPARE(whitePixels(start), 0);
        QVERIFY2(whitePixels(solved) > 100, "no message text over the board");
        solved.save(QDir::temp().filePath(QStringLiteral("quellon_e2e_solved.png")));

        // Close the message, then leave the game: Exit, yes to the question,
        // no to saving.
        click(dialog + QPoint(285, 125));
        click(QPointF(window->x + window->width - 27, window->y + 31));
        QTest::qWait(300);
        click(dialog + QPoint(285, 125));
        // The solve left progress unsaved: the save offer comes up; decline it.
        if (!game.waitForFinished(1500)) {
            const QPoint save(window->x + (window->width - 357) / 2,
                              window->y + window->height - (window->height + 187) / 2);
            click(save + QPoint(265, 153));
        }
        if (game.state() != QProcess::NotRunning && !game.waitForFinished(10000)) {
            screenshot().save(QDir::temp().filePath(QStringLiteral("quellon_e2e_not_closed.png")));
            QFAIL("the game did not end after the exit button, yes, and no to saving");
        }
        QCOMPARE(game.exitCode(), 0);
        QSettings stored(SettingsStore::fileIn(configDir.path()), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("common/level")).toString(), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(SolveEndToEnd)
#include "solve_e2e_test.moc"
