// The pattern window: its size for each placement, its caption, the silhouette
// it paints and the position it keeps between runs.
#include <QTemporaryDir>
#include <QtTest>

#include "engine/pattern.h"
#include "session/game_session.h"
#include "storage/settings_store.h"
#include "play/pattern_form.h"
#include "tests/support/gui_support.h"

using namespace quellon;

class PatternFormTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        game_ = GameData{};
        game_.quellonCount = 950;
        game_.currentQuellon = 17;
        settings_ = SettingsValues{};
    }

    void clientSizeFollowsThePlacementAtEveryShowing()
    {
        TPatForm form(game_, settings_);
        const QList<QPair<int, QSize>> cases{{1, {181, 120}}, {2, {271, 180}}, {3, {361, 240}}};
        for (const auto& [patmode, size] : cases) {
            settings_.patmode = patmode;
            form.hide();
            form.showPattern();
            QCOMPARE(form.size(), size);
        }
        // From big back to small: shrinks at the next showing.
        settings_.patmode = 1;
        form.hide();
        form.show();
        QCOMPARE(form.size(), QSize(181, 120));
    }

    void keptAboveTheMainWindowAloneWithoutTitleBarButtons()
    {
        // A tool window of the main window: the window system keeps it above
        // that window (transient for it on X11), not above every program.
        QWidget main;
        TPatForm form(game_, settings_, &main);
        main.show();
        form.showPattern();
        QCOMPARE(form.windowType(), Qt::Tool);
        QVERIFY(form.windowHandle() != nullptr);
        QCOMPARE(form.windowHandle()->transientParent(), main.windowHandle());
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void captionCarriesNumberAndState()
    {
        TPatForm form(game_, settings_);
        form.refresh();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quellon 17"));
        game_.progressTable[17] = 8 + 1;
        form.refresh();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quellon 17 - solved"));
        settings_.language = 1;
        form.refresh();
        QCOMPARE(form.windowTitle(), QString::fromUtf8("Quellon 17 - gelöst"));
        game_.progressTable[17] = 12;
        form.refresh();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quellon 17 - aufgegeben"));
        settings_.language = 0;
        form.refresh();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quellon 17 - dropped"));
    }

    void paintsTheSilhouetteBlackOnSilverAtItsScale()
    {
        // All eight pieces on one spot: one black triangle.
        for (PieceState& piece : game_.workingRecord().pieces)
            piece = PieceState{20, 20, 0};
        for (int patmode : {1, 3}) {
            settings_.patmode = patmode;
            TPatForm form(game_, settings_);
            form.showPattern();
            const QImage image = form.grab().toImage();
            const int scale = patternScale(patmode);
            int sumX = 0;
            int sumY = 0;
            for (int corner = 0; corner < 3; ++corner) {
                const GridPoint point = pieceCorner(game_.workingRecord().pieces[0], corner);
                sumX += point.x * scale;
                sumY += point.y * scale;
            }
            QCOMPARE(image.pixelColor(sumX / 3, sumY / 3), QColor(Qt::black));
            QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(0xC0, 0xC0, 0xC0));
        }
    }

    void positionIsKeptBetweenRuns()
    {
        const SettingsStore store;
        {
            TPatForm form(game_, settings_);
            form.loadPosition(store);
            QCOMPARE(form.storedPosition(), QPoint(500, 50));  // first start
            form.placeAt(QPoint(123, 77));
            form.savePosition(store);
        }
        QCOMPARE(store.readText(SettingsStore::kSection, QStringLiteral("pleft"), {}), QStringLiteral("123"));
        TPatForm next(game_, settings_);
        next.loadPosition(store);
        QCOMPARE(next.storedPosition(), QPoint(123, 77));
    }

    void aBiggerPlacementKeepsTheWindowOnTheDesktop()
    {
        // Left in the desktop's bottom right corner at the small size, then
        // shown at each bigger placement: the whole window stays on it.
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        TPatForm form(game_, settings_);
        settings_.patmode = 1;
        form.showPattern();
        const QSize outer = form.frameGeometry().size();
        form.placeAt(desktop.bottomRight() - QPoint(outer.width(), outer.height()) + QPoint(1, 1));
        QCOMPARE(form.frameGeometry().bottomRight(), desktop.bottomRight());
        for (int patmode : {2, 3}) {
            settings_.patmode = patmode;
            form.hide();
            form.showPattern();
            QVERIFY2(desktop.contains(form.frameGeometry()),
                     qPrintable(QStringLiteral("placement %1 at %2, %3").arg(patmode).arg(form.x()).arg(form.y())));
        }
    }

private:
    testing::Sandbox sandbox_;
    GameData game_;
    SettingsValues settings_;
};

QTEST_MAIN(PatternFormTest)
#include "pattern_form_test.moc"
