// The rules of the game in a help window of the program. The rules are a
// compiled Qt help collection beside the program (zqln.qhc with zqln.qch);
// context 1 opens the German rules, context 2 the English ones.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QTextBrowser;

namespace quellon {

class HelpViewer : public QObject {
    Q_OBJECT
public:
    static constexpr int kGermanRules = 1;
    static constexpr int kEnglishRules = 2;

    // programDir ends with a separator. programTitle is the caption of the
    // message box shown when the help file cannot be opened.
    // The window opens by `mainWindow`, on its screen; on the primary screen without one.
    HelpViewer(const QString& programDir, const QString& programTitle, const QWidget* mainWindow = nullptr);
    ~HelpViewer() override;

    // Shows the page of the given context in the help window and brings the
    // window to the front. A context without a page shows nothing.
    void openHelp(int context);
    // Closes the help window, if open.
    void closeHelp();

    // The page of a context, empty when the help file cannot be opened or
    // has no such context.
    QUrl pageFor(int context);
    // The help window and its browser; nullptr before the first openHelp.
    QWidget* window() const { return window_; }
    QTextBrowser* browser() const { return browser_; }
    // The collection file in use (a copy in the cache when the program
    // directory is read-only); empty before the help was first opened.
    QString collectionFile() const;

    static QString messageText() { return QStringLiteral("MS Html Help is not installed on this PC."); }

    // Where the help window's frame goes: beside the main window's frame on
    // the side with room on its screen's free area, else over the main
    // window below its tool bar; never beyond that area. `wanted` is the
    // frame size the pages ask for, shrunk to the area.
    // The first place the frame `uncovered` (the pattern
    // window's) leaves free, or else the one it covers least; one below it
    // when nothing else is free.
    static QRect placeBesideMain(const QRect& mainFrame, int toolBarBottom, const QRect& screenArea, QSize wanted,
                                 const QRect& uncovered = QRect());
    // The height of the page's tallest section (from one heading to the
    // next) laid out at a text width.
    int tallestSectionHeight(int textWidth) const;

private:
    bool openEngine();
    void placeWindow();
    // The window's place and size are kept in the settings between runs:
    // read when the window is first placed, written when it closes.
    bool restorePlacement();
    void storePlacement() const;
    QString usableCollection() const;

    QString programDir_;
    QString programTitle_;
    const QWidget* mainWindow_;
    QHelpEngine* engine_ = nullptr;
    bool engineFailed_ = false;
    QPointer<QWidget> window_;
    QTextBrowser* browser_ = nullptr;
    bool placed_ = false;
};

}  // namespace quellon
