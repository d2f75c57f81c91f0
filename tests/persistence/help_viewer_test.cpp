// The rules in the help window: contexts 1 and 2 resolve to the German and
// the English page, the window shows them and closes, and a missing help
// file brings up the message box while the game goes on.
#include "media/help_viewer.h"

#include "ui/dialog_look.h"
#include "storage/settings_store.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QHelpEngineCore>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>
#include <QAbstractTextDocumentLayout>
#include <QTextLayout>

#include <memory>

using namespace quellon;

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void contextsResolveToTheGermanAndEnglishRules();
    void openHelpShowsThePageAndCloseHelpClosesIt();
    void theHelpFileCollectionRefersToTheHelpBesideIt();
    void aMissingHelpFileShowsTheMessageAndGoesOn();
    void theWindowOpensByTheMainWindowShowingWholeSections();
    void bothPagesListTheirSectionsAndShowEveryToolButton();
    void theWindowOpensClearOfThePatternClosesByKeysAndKeepsItsPlace();

private:
    // A copy of the built help, since the engine writes to its collection.
    QTemporaryDir programDir_;
    QTemporaryDir cache_;
    QTemporaryDir config_;
    QString dir_;
};

void HelpViewerTest::initTestCase()
{
    QVERIFY(programDir_.isValid() && cache_.isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
    dir_ = programDir_.path() + QLatin1Char('/');
    SettingsStore::redirectTo(config_.path());
    for (const char* name : {"zqln.qhc", "zqln.qch"}) {
        const QString built = QStringLiteral(QUELLON_RUNTIME_DIR "/") + QLatin1String(name);
        QVERIFY2(QFile::copy(built, dir_ + QLatin1String(name)), qPrintable(built));
    }
}

// Every test starts without a stored place of the help window.
void HelpViewerTest::init() { QFile::remove(SettingsStore::fileIn(config_.path())); }

void HelpViewerTest::contextsResolveToTheGermanAndEnglishRules()
{
    HelpViewer help(dir_, QStringLiteral("Quellon"));
    const QUrl german = help.pageFor(HelpViewer::kGermanRules);
    const QUrl english = help.pageFor(HelpViewer::kEnglishRules);
    QCOMPARE(german.fileName(), QStringLiteral("rules_de.html"));
    QCOMPARE(english.fileName(), QStringLiteral("rules_en.html"));
    QVERIFY(help.pageFor(3).isEmpty());
    QVERIFY(help.pageFor(0).isEmpty());
}

static QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

void HelpViewerTest::openHelpShowsThePageAndCloseHelpClosesIt()
{
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

void HelpViewerTest::theHelpFileCollectionRefersToTheHelpBesideIt()
{
    // Only then does the pair work wherever the game is installed.
    QHelpEngineCore core(dir_ + QStringLiteral("zqln.qhc"));
    QVERIFY(core.setupData());
    const QStringList names = core.registeredDocumentations();
    QCOMPARE(names.size(), 1);
    QCOMPARE(QFileInfo(core.documentationFileName(names.first())).canonicalFilePath(),
             QFileInfo(dir_ + QStringLiteral("zqln.qch")).canonicalFilePath());
}

void HelpViewerTest::aMissingHelpFileShowsTheMessageAndGoesOn()
{
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

// Wherever the main window stands, the rules open on its screen, beside it or
// over it with its tool bar left free, tall enough for every section of
// either page to show whole.
void HelpViewerTest::theWindowOpensByTheMainWindowShowingWholeSections()
{
    QWidget main;
    const QRect area = main.screen()->availableGeometry();
    const QList<QRect> placements{QRect(area.left(), area.top(), area.width() / 3, area.height() / 2),
                                  QRect(area.right() - area.width() / 3, area.top() + 40, area.width() / 3, 300),
                                  area.adjusted(20, 20, -20, -20)};
    for (const QRect& placement : placements) {
        main.setGeometry(placement);
        main.show();
        for (int context : {HelpViewer::kGermanRules, HelpViewer::kEnglishRules}) {
            init();  // a first opening: no place kept from before
            HelpViewer help(dir_, QStringLiteral("Quellon"), &main);
            help.openHelp(context);
            QWidget* window = help.window();
            QVERIFY(window != nullptr && window->isVisible());
            const QRect frame = window->frameGeometry();
            QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                          .arg(frame.x())
                                                          .arg(frame.y())
                                                          .arg(frame.width())
                                                          .arg(frame.height())));
            const QRect toolBar(main.geometry().topLeft(), QSize(main.width(), 60));
            QVERIFY2(!frame.intersects(toolBar), qPrintable(QStringLiteral("help %1,%2 %3x%4 over main %5,%6 %7x%8")
                                                                .arg(frame.x())
                                                                .arg(frame.y())
                                                                .arg(frame.width())
                                                                .arg(frame.height())
                                                                .arg(placement.x())
                                                                .arg(placement.y())
                                                                .arg(placement.width())
                                                                .arg(placement.height())));
            QVERIFY(frame.topLeft() != area.topLeft());
            QTextBrowser* browser = help.browser();
            const int viewport = browser->viewport()->height();
            QVERIFY2(help.tallestSectionHeight(browser->viewport()->width()) <= viewport,
                     qPrintable(QString::number(help.tallestSectionHeight(browser->viewport()->width())) +
                                QStringLiteral(" > ") + QString::number(viewport)));
        }
    }
}

// Each page opens with a contents list whose every entry leads to a section
// of the page, both pages have the same sections, and the legend shows the
// picture of every tool button, each of which loads from the help file.
void HelpViewerTest::bothPagesListTheirSectionsAndShowEveryToolButton()
{
    const QSet<QString> toolButtons{
        QStringLiteral("newgame"), QStringLiteral("load"),          QStringLiteral("stats"),
        QStringLiteral("help"),    QStringLiteral("select"),        QStringLiteral("next"),
        QStringLiteral("prev"),    QStringLiteral("next-unsolved"), QStringLiteral("prev-unsolved"),
        QStringLiteral("options"), QStringLiteral("info"),          QStringLiteral("rules"),
        QStringLiteral("exit"),    QStringLiteral("cursor-move"),   QStringLiteral("cursor-turn")};
    QList<QSet<QString>> sectionsOfPages;
    for (int context : {HelpViewer::kGermanRules, HelpViewer::kEnglishRules}) {
        HelpViewer help(dir_, QStringLiteral("Quellon"));
        help.openHelp(context);
        QTextBrowser* browser = help.browser();
        QSet<QString> links;
        QSet<QString> anchors;
        QSet<QString> pictures;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextCharFormat format = fragment.fragment().charFormat();
                if (format.isAnchor() && format.anchorHref().startsWith(QLatin1Char('#')))
                    links << format.anchorHref().mid(1);
                for (const QString& name : format.anchorNames())
                    anchors << name;
                if (format.isImageFormat()) {
                    const QTextImageFormat image = format.toImageFormat();
                    const QString name = image.name();
                    const QVariant data =
                        browser->loadResource(QTextDocument::ImageResource, browser->source().resolved(QUrl(name)));
                    // Made at the size the page shows it, in device pixels, so
                    // that nothing is shrunk or stretched when it is drawn.
                    const QPixmap picture = data.value<QPixmap>();
                    QVERIFY2(!picture.isNull(), qPrintable(name));
                    const qreal ratio = browser->devicePixelRatioF();
                    QCOMPARE(picture.devicePixelRatio(), ratio);
                    QCOMPARE(picture.size(), QSize(qRound(image.width()), qRound(image.height())) * ratio);
                    pictures << QFileInfo(name)
                                    .completeBaseName()
                                    .remove(QLatin1String("tool-"))
                                    .remove(QLatin1String("-normal"));
                }
            }
        // However narrow the window, no entry of the contents breaks apart.
        const std::unique_ptr<QTextDocument> narrow(browser->document()->clone());
        narrow->setTextWidth(240);
        narrow->documentLayout()->documentSize();
        for (QTextBlock block = narrow->begin(); block.isValid(); block = block.next())
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextFragment part = fragment.fragment();
                if (!part.charFormat().anchorHref().startsWith(QLatin1Char('#')))
                    continue;
                const int first = part.position() - block.position();
                const int last = first + part.length() - 1;
                QVERIFY2(block.layout()->lineForTextPosition(first).lineNumber() ==
                             block.layout()->lineForTextPosition(last).lineNumber(),
                         qPrintable(part.text()));
            }
        QVERIFY(links.size() >= 10);
        QCOMPARE(links, anchors);
        QCOMPARE(pictures, toolButtons);
        sectionsOfPages << anchors;
    }
    QCOMPARE(sectionsOfPages[0], sectionsOfPages[1]);
}

// The pattern window and the rules never cover each other as they open;
// Escape and Ctrl+W close them; and the place and size the player gives the
// window come back at the next run, beside the other settings untouched.
void HelpViewerTest::theWindowOpensClearOfThePatternClosesByKeysAndKeepsItsPlace()
{
    QWidget main;
    QWidget pattern(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    pattern.setObjectName(QStringLiteral("PatForm"));
    const QRect area = main.screen()->availableGeometry();
    // The main window over most of the screen, the pattern window at a few
    // places over it: below the tool bar in the middle, at the right, at the left.
    main.setGeometry(area.adjusted(20, 20, -20, -20));
    main.show();
    for (const QPoint& at : {QPoint(area.width() / 2 - 130, 90), QPoint(area.width() - 300, 90), QPoint(30, 90)}) {
        QFile::remove(SettingsStore::fileIn(config_.path()));
        pattern.setGeometry(QRect(area.topLeft() + at, QSize(271, 180)));
        pattern.show();
        HelpViewer help(dir_, QStringLiteral("Quellon"), &main);
        help.openHelp(HelpViewer::kEnglishRules);
        const QRect frame = help.window()->frameGeometry();
        QVERIFY2(!frame.intersects(pattern.frameGeometry()),
                 qPrintable(QStringLiteral("help %1,%2 %3x%4, pattern at %5,%6")
                                .arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())
                                .arg(at.x())
                                .arg(at.y())));
        QVERIFY(area.contains(frame));
        QVERIFY(frame.top() >= main.geometry().top() + 60);
    }
    pattern.hide();
    QFile::remove(SettingsStore::fileIn(config_.path()));

    const SettingsStore store;
    store.writeInteger(SettingsStore::kSection, QStringLiteral("pleft"), 123);
    store.writeText(SettingsStore::kSection, QStringLiteral("game"), QStringLiteral("evening, late"));
    const QRect chosen(area.left() + 37, area.top() + 41, 420, 333);
    {
        HelpViewer help(dir_, QStringLiteral("Quellon"), &main);
        help.openHelp(HelpViewer::kGermanRules);
        QWidget* window = help.window();
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keySequence(window, keys);
            QVERIFY2(!window->isVisible(), qPrintable(keys.toString()));
            help.openHelp(HelpViewer::kGermanRules);
            QVERIFY(window->isVisible());
        }
        window->setGeometry(chosen);
    }  // the game ends
    QCOMPARE(store.readInteger(SettingsStore::kSection, QStringLiteral("pleft"), 0), 123);
    QCOMPARE(store.readText(SettingsStore::kSection, QStringLiteral("game"), QString()),
             QStringLiteral("evening, late"));
    HelpViewer help(dir_, QStringLiteral("Quellon"), &main);
    help.openHelp(HelpViewer::kEnglishRules);
    QCOMPARE(help.window()->geometry(), chosen);
}

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
