// The rules in the help window: contexts 1 and 2 resolve to the German and
// the English page, the window shows them and closes, and a missing help
// file brings up the message box while the game goes on.
#include "persistence/help_viewer.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QHelpEngineCore>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

using namespace quellon;

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void contextsResolveToTheGermanAndEnglishRules();
    void openHelpShowsThePageAndCloseHelpClosesIt();
    void theHelpFileCollectionRefersToTheHelpBesideIt();
    void aMissingHelpFileShowsTheMessageAndGoesOn();

private:
    // A copy of the built help, since the engine writes to its collection.
    QTemporaryDir programDir_;
    QTemporaryDir cache_;
    QString dir_;
};

void HelpViewerTest::initTestCase() {
    QVERIFY(programDir_.isValid() && cache_.isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
    dir_ = programDir_.path() + QLatin1Char('/');
    for (const char* name : {"zqln.qhc", "zqln.qch"}) {
        const QString built = QStringLiteral(QUELLON_RUNTIME_DIR "/") + QLatin1String(name);
        QVERIFY2(QFile::copy(built, dir_ + QLatin1String(name)), qPrintable(built));
    }
}

void HelpViewerTest::contextsResolveToTheGermanAndEnglishRules() {
    HelpViewer help(dir_, QStringLiteral("Quellon"));
    const QUrl german = help.pageFor(HelpViewer::kGermanRules);
    const QUrl english = help.pageFor(HelpViewer::kEnglishRules);
    QCOMPARE(german.fileName(), QStringLiteral("rules_de.html"));
    QCOMPARE(english.fileName(), QStringLiteral("rules_en.html"));
    QVERIFY(help.pageFor(3).isEmpty());
    QVERIFY(help.pageFor(0).isEmpty());
}

static QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

void HelpViewerTest::openHelpShowsThePageAndCloseHelpClosesIt() {
    const QByteArray collectionBefore = fileHash(dir_ + QStringLiteral("zqln.qhc"));
    HelpViewer help(dir_, QStringLiteral("Quellon"));
    help.openHelp(HelpViewer::kGermanRules);
    QVERIFY(help.window() != nullptr);
    QVERIFY(help.window()->isVisible());
    const QString german = help.browser()->toPlainText();
    QVERIFY(german.contains(QStringLiteral("Ein Dreieck aufnehmen")));
    QVERIFY(german.contains(QStringLiteral("aufgegeben")));
    QCOMPARE(help.window()->windowTitle(), QStringLiteral("Quellon – Spielregeln"));

    help.openHelp(HelpViewer::kEnglishRules);
    const QString english = help.browser()->toPlainText();
    QVERIFY(english.contains(QStringLiteral("Picking up a triangle")));
    QVERIFY(english.contains(QStringLiteral("Points")));
    QCOMPARE(help.window()->windowTitle(), QStringLiteral("Quellon – Rules"));

    // The link at the top switches language inside the help window.
    help.browser()->setSource(help.browser()->source().resolved(QUrl(QStringLiteral("rules_de.html"))));
    QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("Spielregeln")));

    // A context without a page changes nothing.
    help.openHelp(7);
    QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("Spielregeln")));

    help.closeHelp();
    QVERIFY(!help.window()->isVisible());
    help.closeHelp();  // closing twice is harmless

    // Reading the rules leaves the installed collection untouched, so it
    // may lie in a read-only program directory.
    QCOMPARE(help.collectionFile(), dir_ + QStringLiteral("zqln.qhc"));
    QCOMPARE(fileHash(dir_ + QStringLiteral("zqln.qhc")), collectionBefore);
}

void HelpViewerTest::theHelpFileCollectionRefersToTheHelpBesideIt() {
    // Only then does the pair work wherever the game is installed.
    QHelpEngineCore core(dir_ + QStringLiteral("zqln.qhc"));
    QVERIFY(core.setupData());
    const QStringList names = core.registeredDocumentations();
    QCOMPARE(names.size(), 1);
    QCOMPARE(QFileInfo(core.documentationFileName(names.first())).canonicalFilePath(),
             QFileInfo(dir_ + QStringLiteral("zqln.qch")).canonicalFilePath());
}

void HelpViewerTest::aMissingHelpFileShowsTheMessageAndGoesOn() {
    QTemporaryDir empty;
    HelpViewer help(empty.path(), QStringLiteral("Zindle Quellon"));
    QString shownText;
    QString shownTitle;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    int boxes = 0;
    // The box is modal; read it and press its button from the event loop.
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shownText = box->text();
            shownTitle = box->windowTitle();
            shownIcon = box->icon();
            ++boxes;
            box->accept();
        }
    });
    closer.start(20);
    help.openHelp(HelpViewer::kEnglishRules);
    closer.stop();
    QCOMPARE(boxes, 1);
    QCOMPARE(shownText, QStringLiteral("MS Html Help is not installed on this PC."));
    QCOMPARE(shownTitle, QStringLiteral("Zindle Quellon"));
    QCOMPARE(shownIcon, QMessageBox::Warning);
    QCOMPARE(help.window(), nullptr);
    help.closeHelp();
}

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
