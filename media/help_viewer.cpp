// Help window: a QTextBrowser that reads its pages from the compiled help
// collection through QHelpEngine.
#include "media/help_viewer.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpLink>
#include <QImageReader>
#include <QPixmap>
#include <QAbstractTextDocumentLayout>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <memory>

#include "ui/dialog_look.h"
#include "storage/settings_store.h"

namespace {

const char* const kCollection = "zqln.qhc";
constexpr int kHelpWidth = 640;
constexpr int kSmallestHelpHeight = 480;
// The main window's tool bar, which the help window must leave visible.
constexpr int kMainToolBarHeight = 60;
const char* const kCompressedHelp = "zqln.qch";
// The help window's place (its frame's top left corner) and size (inside the
// frame), kept between runs.
const char* const kPlacementKeys[] = {"helpleft", "helptop", "helpwid", "helphig"};
constexpr QSize kSmallestStoredSize{200, 150};

// The pattern window, when it shows: the help opens clear of it, neither
// under it nor hiding it.
QRect patternWindowFrame()
{
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("PatForm") && window->isVisible())
            return window->frameGeometry();
    return {};
}

// A browser whose pages and pictures come out of the help collection.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {}

    QVariant loadResource(int type, const QUrl& url) override
    {
        if (url.scheme() != QLatin1String("qthelp"))
            return QTextBrowser::loadResource(type, url);
        const QByteArray data = engine_->fileData(url);
        if (type != QTextDocument::ImageResource)
            return data;
        // Made at the size the page shows it, in the screen's own pixels:
        // left to the browser, a picture is read at its own size and then
        // shrunk or stretched into its place, which blurs it, most of all
        // on a scaled screen.
        const QSize shown = shownSize(url);
        if (shown.isEmpty())
            return data;
        QBuffer buffer;
        buffer.setData(data);
        QImageReader reader(&buffer);
        const qreal ratio = devicePixelRatioF();
        reader.setScaledSize(shown * ratio);
        const QImage image = reader.read();
        if (image.isNull())
            return data;
        QPixmap picture = QPixmap::fromImage(image);
        picture.setDevicePixelRatio(ratio);
        return picture;
    }

private:
    // The width and height the page gives the picture at url; empty when it
    // gives none.
    QSize shownSize(const QUrl& url) const
    {
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextCharFormat format = fragment.fragment().charFormat();
                if (!format.isImageFormat())
                    continue;
                const QTextImageFormat picture = format.toImageFormat();
                if (QUrl(picture.name()).fileName() != url.fileName())
                    continue;
                return QSize(qRound(picture.width()), qRound(picture.height()));
            }
        return {};
    }

    QHelpEngine* engine_;
};

// Copies source to target unless target already holds the same file.
bool refreshCopy(const QString& source, const QString& target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && to.size() == from.size() && to.lastModified() >= from.lastModified())
        return true;
    QFile::remove(target);
    return QFile::copy(source, target) && QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace

namespace quellon {

HelpViewer::HelpViewer(const QString& programDir, const QString& programTitle, const QWidget* mainWindow)
    : programDir_(programDir),
      programTitle_(programTitle),
      mainWindow_(mainWindow)
{
    if (!programDir_.isEmpty() && !programDir_.endsWith(QLatin1Char('/')))
        programDir_ += QLatin1Char('/');
}

HelpViewer::~HelpViewer()
{
    closeHelp();
    delete window_;
}

QString HelpViewer::collectionFile() const { return engine_ ? engine_->collectionFile() : QString(); }

// QHelpEngine writes to its collection file. Where the program directory is
// read-only (an installed game), the collection and the help file it names
// are copied side by side into the user's cache and used from there.
QString HelpViewer::usableCollection() const
{
    const QString collection = programDir_ + QLatin1String(kCollection);
    const QString help = programDir_ + QLatin1String(kCompressedHelp);
    if (!QFileInfo::exists(collection) || !QFileInfo::exists(help))
        return {};
    const QFileInfo dir(programDir_);
    if (dir.isWritable() && QFileInfo(collection).isWritable())
        return collection;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help/");
    if (!QDir().mkpath(cache))
        return {};
    if (!refreshCopy(help, cache + QLatin1String(kCompressedHelp)) ||
        !refreshCopy(collection, cache + QLatin1String(kCollection)))
        return {};
    return cache + QLatin1String(kCollection);
}

bool HelpViewer::openEngine()
{
    if (engine_ != nullptr)
        return true;
    if (engineFailed_)
        return false;
    const QString collection = usableCollection();
    if (!collection.isEmpty()) {
        // Read-only: the game only reads its rules, and the collection may
        // be shared by several players of one installation.
        auto* engine = new QHelpEngine(collection, this);
        engine->setReadOnly(true);
        if (engine->setupData() && !engine->registeredDocumentations().isEmpty()) {
            engine_ = engine;
            return true;
        }
        delete engine;
    }
    engineFailed_ = true;
    return false;
}

QUrl HelpViewer::pageFor(int context)
{
    if (!openEngine())
        return {};
    const QList<QHelpLink> links = engine_->documentsForIdentifier(QStringLiteral("context%1").arg(context));
    return links.isEmpty() ? QUrl() : links.first().url;
}

void HelpViewer::openHelp(int context)
{
    if (!openEngine()) {
        // The game goes on without its rules.
        QMessageBox::warning(nullptr, programTitle_, messageText());
        return;
    }
    const QUrl page = pageFor(context);
    if (page.isEmpty())
        return;
    if (window_ == nullptr) {
        // A window of its own, living beside the game's windows until
        // closeHelp.
        window_ = new QWidget(nullptr, Qt::Window);
        window_->setObjectName(QStringLiteral("HelpWindow"));
        // An open help window must not keep the game running after its main
        // window has closed.
        window_->setAttribute(Qt::WA_QuitOnClose, false);
        window_->resize(640, 560);
        auto* layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
        browser_ = new HelpBrowser(engine_, window_);
        browser_->setOpenExternalLinks(false);
        browser_->document()->setDocumentMargin(14);
        layout->addWidget(browser_);
        connect(browser_, &QTextBrowser::sourceChanged, window_,
                [this] { window_->setWindowTitle(browser_->documentTitle()); });
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
            connect(new QShortcut(keys, window_), &QShortcut::activated, window_, &QWidget::close);
    }
    browser_->setSource(page);
    window_->setWindowTitle(browser_->documentTitle());
    // Placed once a run: closed and opened again, it comes back where the
    // player left it.
    if (!placed_) {
        if (!restorePlacement())
            placeWindow();
        placed_ = true;
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

QRect HelpViewer::placeBesideMain(const QRect& mainFrame, int toolBarBottom, const QRect& screenArea, QSize wanted,
                                  const QRect& uncovered)
{
    const QSize size = wanted.boundedTo(screenArea.size());
    // Kept on the screen; the tool bar stays free where the screen allows.
    const auto onScreen = [&screenArea](QRect frame) {
        frame.moveLeft(qBound(screenArea.left(), frame.left(), screenArea.right() - frame.width() + 1));
        frame.moveTop(qBound(screenArea.top(), frame.top(), screenArea.bottom() - frame.height() + 1));
        return frame;
    };
    // A frame from `top` down to the screen's bottom at most, right-aligned
    // with the main window or left-aligned.
    const auto overMain = [&](int top, bool right) {
        top = qBound(screenArea.top(), top, screenArea.bottom());
        QRect frame(QPoint(mainFrame.left(), top),
                    QSize(size.width(), qMin(size.height(), screenArea.bottom() - top + 1)));
        if (right)
            frame.moveRight(mainFrame.right());
        return frame;
    };
    QList<QRect> places;
    if (screenArea.right() - mainFrame.right() >= size.width())
        places << QRect(QPoint(mainFrame.right() + 1, mainFrame.top()), size);
    if (mainFrame.left() - screenArea.left() >= size.width())
        places << QRect(QPoint(mainFrame.left() - size.width(), mainFrame.top()), size);
    // Over the main window's right side below its tool bar, then its left.
    places << overMain(toolBarBottom + 1, true) << overMain(toolBarBottom + 1, false);
    // Below the pattern window, shorter, as long as a useful height is left.
    if (!uncovered.isEmpty() && screenArea.bottom() - uncovered.bottom() >= kSmallestHelpHeight / 2)
        places << overMain(qMax(toolBarBottom, uncovered.bottom()) + 1, true)
               << overMain(qMax(toolBarBottom, uncovered.bottom()) + 1, false);
    QRect best;
    qint64 leastCovered = -1;
    for (const QRect& place : std::as_const(places)) {
        const QRect frame = onScreen(place);
        const QRect covered = frame.intersected(uncovered);
        const qint64 area = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
        if (leastCovered < 0 || area < leastCovered) {
            best = frame;
            leastCovered = area;
        }
        if (area == 0)
            break;
    }
    return best;
}

int HelpViewer::tallestSectionHeight(int textWidth) const
{
    if (browser_ == nullptr)
        return 0;
    // Measured on a copy, laid out apart from the browser, which lays its
    // page out only once it is shown.
    const std::unique_ptr<QTextDocument> page(browser_->document()->clone());
    page->setTextWidth(textWidth);
    const QAbstractTextDocumentLayout* layout = page->documentLayout();
    const qreal pageHeight = layout->documentSize().height();
    // The page is cut into sections at its headings; the part before the
    // first heading (title and contents) counts as a section too.
    qreal sectionTop = 0;
    qreal tallest = 0;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 2)
            continue;
        const qreal top = layout->blockBoundingRect(block).top();
        tallest = qMax(tallest, top - sectionTop);
        sectionTop = top;
    }
    tallest = qMax(tallest, pageHeight - sectionTop);
    return qCeil(tallest);
}

void HelpViewer::placeWindow()
{
    const QWidget* main = mainWindow_;
    const QScreen* screen = main != nullptr ? main->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds, judged by the main window's.
    const QMargins frameMargins = main != nullptr ? QMargins(main->geometry().left() - main->frameGeometry().left(),
                                                             main->geometry().top() - main->frameGeometry().top(),
                                                             main->frameGeometry().right() - main->geometry().right(),
                                                             main->frameGeometry().bottom() - main->geometry().bottom())
                                                  : QMargins();
    const int width = qMin(kHelpWidth, area.width() - frameMargins.left() - frameMargins.right());
    // Tall enough for a whole section, laid out beside the scroll bar.
    browser_->ensurePolished();
    const int chrome = 2 * browser_->frameWidth();
    const int textWidth =
        width - chrome - browser_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, browser_);
    const int height = qMax(kSmallestHelpHeight, tallestSectionHeight(textWidth) + chrome + 2);
    const QSize wantedFrame = QSize(width, height).grownBy(frameMargins);
    if (main == nullptr) {
        window_->resize(QSize(width, height).boundedTo(area.size().shrunkBy(frameMargins)));
        return;
    }
    const int toolBarBottom = main->geometry().top() + kMainToolBarHeight - 1;
    const QRect frame = placeBesideMain(main->frameGeometry(), toolBarBottom, area, wantedFrame, patternWindowFrame());
    window_->resize(frame.size().shrunkBy(frameMargins));
    window_->move(frame.topLeft());
}

bool HelpViewer::restorePlacement()
{
    const SettingsStore store;
    int values[4] = {};
    for (int k = 0; k < 4; ++k) {
        const QString key = QLatin1String(kPlacementKeys[k]);
        if (!store.contains(SettingsStore::kSection, key))
            return false;
        values[k] = store.readInteger(SettingsStore::kSection, key, 0);
    }
    const QRect stored(values[0], values[1], values[2], values[3]);
    if (stored.width() < kSmallestStoredSize.width() || stored.height() < kSmallestStoredSize.height())
        return false;
    // On the screen it was left on, or else the main window's, and never
    // beyond that screen's free area (the frame is judged by the main
    // window's).
    const QWidget* main = mainWindow_;
    const QScreen* screen = QGuiApplication::screenAt(stored.center());
    if (screen == nullptr)
        screen = main != nullptr ? main->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return false;
    const QRect area = screen->availableGeometry();
    const QSize frame = main != nullptr ? main->frameGeometry().size() - main->size() : QSize();
    const QSize size = stored.size().boundedTo(area.size() - frame);
    window_->resize(size);
    window_->move(qBound(area.left(), stored.left(), area.right() - size.width() - frame.width() + 1),
                  qBound(area.top(), stored.top(), area.bottom() - size.height() - frame.height() + 1));
    return true;
}

void HelpViewer::storePlacement() const
{
    if (window_ == nullptr || !placed_)
        return;
    const SettingsStore store;
    const int values[4] = {window_->x(), window_->y(), window_->width(), window_->height()};
    for (int k = 0; k < 4; ++k)
        store.writeInteger(SettingsStore::kSection, QLatin1String(kPlacementKeys[k]), values[k]);
}

void HelpViewer::closeHelp()
{
    if (window_ == nullptr)
        return;
    window_->close();
    storePlacement();
}

}  // namespace quellon
