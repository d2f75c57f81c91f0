// Every text fits its label: each dialog is shown in both languages with the
// longest texts it can get, and no label's text may need more room than the
// label has (wrapped where the label wraps). Runs at ratios 1 and 2.
#include <QtTest>

#include <QFile>
#include <QFontDatabase>
#include <QRegularExpression>

#include "dialogs/info_dialog.h"
#include "dialogs/message_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/select_dialog.h"
#include "dialogs/stat_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "engine/catalogue.h"
#include "engine/saved_games.h"
#include "session/game_session.h"
#include "dialogs/load_game_dialog.h"
#include "dialogs/save_game_dialog.h"

using namespace quellon;

namespace {

// What does not fit in a label, measured as the label itself lays its text
// out (wrapped where it wraps); empty when everything fits.
QString overflowOf(const QLabel* label)
{
    QSize needed = label->sizeHint();
    if (label->wordWrap()) {
        needed = {0, label->heightForWidth(label->width())};
        const QFontMetrics metrics(label->font());
        for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            needed.setWidth(qMax(needed.width(), metrics.horizontalAdvance(word)));
    }
    if (Qt::mightBeRichText(label->text()) || needed.width() > label->width() || needed.height() > label->height())
        return QStringLiteral("%1/%2 \"%3\" in %4 %5 px needs %6 x %7, has %8 x %9")
            .arg(label->window()->objectName(), label->objectName(), label->text(), QFontInfo(label->font()).family())
            .arg(label->font().pixelSize())
            .arg(needed.width())
            .arg(needed.height())
            .arg(label->width())
            .arg(label->height());
    return {};
}

// Every shown text of a dialog that is open now, the upright ones included
// (their length runs along the label's height).
QStringList overflowsIn(const QWidget* dialog)
{
    QStringList found;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        if (label->isVisibleTo(dialog) && !label->text().isEmpty())
            if (const QString overflow = overflowOf(label); !overflow.isEmpty())
                found << overflow;
    for (const UprightLabel* label : dialog->findChildren<UprightLabel*>()) {
        const QFontMetrics metrics(label->textFont());
        if (metrics.horizontalAdvance(label->text()) > label->height() || metrics.height() > label->width())
            found << label->objectName() + QStringLiteral(" is longer than its label");
    }
    return found;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

class DialogTextsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The run without Liberation needs some other font to fall back to.
        if (QFontDatabase::families().isEmpty())
            QSKIP("no font installed to lay the texts out in");
    }

    // Every dialog drawn, the only picture drawn from SVG while running is
    // the title, whose lettering needs the machine's own fonts: the rest
    // comes drawn at build time, at ratio 1 and 2 alike.
    void cleanupTestCase()
    {
        const QStringList drawn = artRenderedAtRunTime();
        QVERIFY(!drawn.isEmpty());
        for (const QString& picture : drawn)
            QVERIFY2(picture.startsWith(art::kTitlePicture + QLatin1Char('@')), qPrintable(picture));
    }

    void init()
    {
        session_ = std::make_unique<GameSession>();
        game().quellonCount = 950;
        game().currentQuellon = 1;
    }

    void messagesFit()
    {
        const std::string name = "Sonntagnachmittag";
        for (int language : {1, 0}) {
            settings().language = language;
            TYesNoDlg dialog(settings());
            for (MessageCode code : {MessageCode::Solved, MessageCode::Quit, MessageCode::NewGame})
                checkWhileShown(dialog, [code](TYesNoDlg& d) { return d.showCode(code); });
            const QList<Message> composed{
                overwriteQuestion(name), saveFailureMessage(name), loadSavedGame(game(), name).failure,
                Message{MessageCode::Notice, "Alle Quellons bereits gel\u00f6st.", "All Quellons already solved."}};
            for (const Message& message : composed)
                checkWhileShown(dialog,
                                [&](TYesNoDlg& d) { return d.showText(message.code, qt(message.text(language))); });
        }
    }

    void statisticsFit()
    {
        // Three-digit counts at every help level make the longest second
        // sentence; the others cover the remaining sentence cases.
        const QList<QList<int>> levelCounts{
            {0, 0, 0, 0, 0}, {1, 1, 1, 1, 1}, {190, 190, 190, 190, 190}, {0, 0, 0, 0, 950}, {950, 0, 0, 0, 0}};
        for (const QList<int>& counts : levelCounts) {
            game().progressTable.fill(0);
            int n = 1;
            for (int level = 0; level <= 4; ++level)
                for (int i = 0; i < counts[level]; ++i)
                    game().progressTable[static_cast<size_t>(n++)] = static_cast<uint8_t>(8 + level);
            for (int language : {1, 0}) {
                settings().language = language;
                TStatDlg dialog(game(), settings());
                dialog.show();
                expectAllFit(dialog);
            }
        }
    }

    void optionsFit()
    {
        LongMusicName effects(*session_);
        bool& found = effects.found;
        for (int language : {1, 0}) {
            settings().language = language;
            TOptionDlg dialog(settings(), effects);
            dialog.show();
            for (int step = 0; step < 6; ++step) {
                settings().soundOn = step % 2 == 0;
                settings().musicOn = step % 2 == 1;
                found = step != 4;
                settings().background = step;
                settings().patmode = step % 4;
                dialog.updateOptionTexts();
                expectAllFit(dialog);
            }
            dialog.hide();
        }
    }

    void selectionLanguageAndSavingFit()
    {
        for (int language : {1, 0}) {
            settings().language = language;
            TSelectDlg select(game(), settings());
            TLoadGameDlg load(game(), settings());
            TSaveGameDlg save(game(), settings());
            TTongueDlg tongue;
            for (QWidget* dialog : std::initializer_list<QWidget*>{&select, &load, &save, &tongue}) {
                dialog->show();
                expectAllFit(*dialog);
            }
        }
    }

    // The information names its makers with the year and the licence the
    // metainfo and the package's copyright file state, the makers written as
    // there; it says, as the GNU GPL asks, that there is no warranty and
    // where the licence can be read; and it credits the SoundFont with its
    // licence. In both languages, and it fits at the size it was styled with.
    void informationFitsAndCredits()
    {
        const auto read = [](const char* path) {
            QFile file(QString::fromUtf8(path));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QVERIFY(read(QUELLON_SOURCE_DIR "/data/desktop/io.quellon.Quellon.metainfo.xml")
                    .contains(QStringLiteral("<developer_name>The Quellon developers</developer_name>")));
        QVERIFY(read(QUELLON_SOURCE_DIR "/data/desktop/io.quellon.Quellon.metainfo.xml")
                    .contains(QStringLiteral("<project_license>GPL-3.0-or-later</project_license>")));
        const QRegularExpressionMatch year =
            QRegularExpression(
                QStringLiteral("Files: \\*\nCopyright: (\\d{4}) The Quellon developers\nLicense: GPL-3\\+\n"))
                .match(read(QUELLON_SOURCE_DIR "/debian/copyright"));
        QVERIFY2(year.hasMatch(), "the copyright file gives the year and the licence of the whole game");
        const QString makers = QStringLiteral("\u00a9 ") + year.captured(1) + QStringLiteral(" The Quellon developers");
        const QString licence = QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html");
        const QStringList german{
            makers,
            QStringLiteral("GNU General Public License, Version 3 oder jeder sp\u00e4teren Version"),
            QStringLiteral("OHNE JEDE GEW\u00c4HRLEISTUNG"),
            licence,
            QStringLiteral("TimGM6mb"),
            QStringLiteral("Tim Brechbill"),
            QStringLiteral("GNU General Public License, Version 2")};
        const QStringList english{makers,
                                  QStringLiteral("GNU General Public License, version 3 or any later version"),
                                  QStringLiteral("ABSOLUTELY NO WARRANTY"),
                                  licence,
                                  QStringLiteral("TimGM6mb"),
                                  QStringLiteral("Tim Brechbill"),
                                  QStringLiteral("GNU General Public License, version 2")};
        for (int language : {1, 0}) {
            settings().language = language;
            TInfoDlg dialog(settings());
            dialog.show();
            for (const QString& part : language == 1 ? german : english)
                QVERIFY2(dialog.creditLabel()->text().contains(part), qPrintable(part));
            expectAllFit(dialog);
            // Fitted by shrinking would be no fit for reading.
            QCOMPARE(dialog.creditLabel()->font().pixelSize(), 14);
        }
    }

private:
    GameData& game() { return session_->game(); }
    SettingsValues& settings() { return session_->settings(); }

    // The options dialog's reach beyond itself, with a long music file name.
    class LongMusicName : public OptionEffects {
    public:
        explicit LongMusicName(GameSession& session) : session_(session) {}
        void stepOption(GameSession::Option option) override { session_.stepOption(option); }
        void toggleMusic() override { session_.setMusicOn(!session_.settings().musicOn); }
        bool musicFound() const override { return found; }
        QString musicFileName() const override
        {
            return QStringLiteral("Nachtmusik-in-drei-S\u00e4tzen-fuer-Klavier-und-Floete.mid");
        }
        bool found = true;

    private:
        GameSession& session_;
    };

    std::unique_ptr<GameSession> session_;

    static void expectAllFit(const QWidget& dialog)
    {
        const QStringList overflows = overflowsIn(&dialog);
        QVERIFY2(overflows.isEmpty(), qPrintable(overflows.join(QLatin1Char('\n'))));
    }

    template <typename Show>
    static void checkWhileShown(TYesNoDlg& dialog, Show show)
    {
        QStringList overflows;
        QTimer::singleShot(0, &dialog, [&dialog, &overflows] {
            overflows = overflowsIn(&dialog);
            dialog.finish(DialogResult::Yes);
        });
        show(dialog);
        QVERIFY2(overflows.isEmpty(), qPrintable(overflows.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(DialogTextsTest)
#include "dialog_texts_test.moc"
