// The options and language dialogs: each button's step and its immediate
// effect on the real windows, the labels, and the keys that close them or not.
#include <QtTest>

#include "dialogs/option_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "play/game_windows.h"
#include "play/main_form.h"
#include "play/pattern_form.h"
#include "session/game_session.h"
#include "tests/support/gui_support.h"

using namespace quellon;
using namespace quellon::testing;

class OptionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox_ = std::make_unique<Sandbox>();
        writeCatalogue(sandbox_->programDir.path(), 3);
        session_ = std::make_unique<GameSession>();
        media_ = std::make_unique<RecordingMedia>();
        messages_ = std::make_unique<AnsweringMessages>(log_);
        form_ = std::make_unique<TMainform>(*session_, sound_, *media_, messages_.get(), sandbox_->dir());
        QVERIFY(form_->FormCreate());
        session_->game().currentQuellon = 3;
        session_->settings() = SettingsValues{};
    }

    void cleanup()
    {
        form_.reset();
        messages_.reset();
        media_.reset();
        session_.reset();
        sandbox_.reset();
    }

    void languageFromUnsetToEnglishAndBack()
    {
        session_->settings().language = -1;
        TPatForm& pattern = form_->windows().patternWindow();
        session_->game().progressTable[3] = 8;
        TOptionDlg& dialog = form_->windows().optionDialog();
        dialog.show();
        QCOMPARE(label(dialog, "TongueLabel"), QStringLiteral("I speak English."));
        dialog.TongueBtn->click();
        QCOMPARE(session_->settings().language, 0);
        QCOMPARE(toolHint(), QStringLiteral("I take the next Quellon."));
        dialog.TongueBtn->click();
        QCOMPARE(session_->settings().language, 1);
        QCOMPARE(toolHint(), QStringLiteral("Ich nehm' das n\u00e4chste Quellon."));
        QCOMPARE(label(dialog, "TongueLabel"), QStringLiteral("Ich spreche deutsch."));
        QCOMPARE(label(dialog, "OptLabel"), QStringLiteral("Einstellungen:"));
        QCOMPARE(dialog.TongueBtn->toolTip(), QString::fromUtf8("Sprache ändern"));
        // The pattern window's caption follows at once.
        QCOMPARE(pattern.windowTitle(), QString::fromUtf8("Quellon 3 - gelöst"));
        dialog.TongueBtn->click();
        QCOMPARE(session_->settings().language, 0);
    }

    void backgroundRunsOneToSixAndRedrawsAtOnce()
    {
        TOptionDlg& dialog = form_->windows().optionDialog();
        dialog.show();
        QStringList seen{label(dialog, "BackLabel")};
        for (int press = 0; press < 6; ++press) {
            dialog.BackBtn->click();
            seen << label(dialog, "BackLabel");
        }
        QCOMPARE(seen, (QStringList{"Background 1", "Background 2", "Background 3", "Background 4", "Background 5",
                                    "Background 6", "Background 1"}));
        QCOMPARE(session_->settings().background, 0);
    }

    void patternPlacementHidesShowsAndResizesTheWindow()
    {
        session_->settings().patmode = 3;
        TPatForm& pattern = form_->windows().patternWindow();
        pattern.showPattern();
        QCOMPARE(pattern.size(), QSize(361, 240));
        TOptionDlg& dialog = form_->windows().optionDialog();
        dialog.show();
        QCOMPARE(label(dialog, "PatLabel"), QStringLiteral("Big pattern window"));

        dialog.PatBtn->click();  // 3 -> 0: on the board
        QCOMPARE(session_->settings().patmode, 0);
        QVERIFY(!pattern.isVisible());
        QCOMPARE(label(dialog, "PatLabel"), QStringLiteral("Pattern in the game area"));

        dialog.PatBtn->click();  // 0 -> 1: the small window, the board without the pattern
        QCOMPARE(session_->settings().patmode, 1);
        QVERIFY(pattern.isVisible());
        QCOMPARE(pattern.size(), QSize(181, 120));

        dialog.PatBtn->click();  // 1 -> 2: only the window changes
        QCOMPARE(pattern.size(), QSize(271, 180));
    }

    void withoutMusicFilesTheButtonIsOff()
    {
        session_->settings().musicOn = true;
        session_->settings().language = 1;
        TOptionDlg& dialog = form_->windows().optionDialog();
        dialog.show();
        QVERIFY(!dialog.MusicBtn->isEnabled());
        QCOMPARE(label(dialog, "MusicLabel"), QStringLiteral("Keine Musikdateien vorhanden."));
    }

    void musicButtonSwitchesThroughThePlayer()
    {
        // The player's switch: off, or on with the next of a, b, c.
        media_->files = QStringList{"a.mid", "b.mid", "c.mid"};
        media_->found = true;
        TOptionDlg& dialog = form_->windows().optionDialog();
        dialog.show();
        QVERIFY(dialog.MusicBtn->isEnabled());
        QStringList seen;
        for (int press = 0; press < 6; ++press) {
            dialog.MusicBtn->click();
            seen << label(dialog, "MusicLabel");
        }
        QCOMPARE(seen, (QStringList{"Music is off.", "Music: b.mid", "Music is off.", "Music: c.mid", "Music is off.",
                                    "Music: a.mid"}));
        // The setting follows the player's switch.
        QVERIFY(session_->settings().musicOn);
    }

    void escapeIsIgnoredEnterCloses()
    {
        TOptionDlg& dialog = form_->windows().optionDialog();
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_N);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
        dialog.show();
        dialog.OKBtn->click();
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Cancel));
    }

    void languageDialogClosesOnlyByItsFlags()
    {
        session_->settings().language = -1;
        TTongueDlg dialog;
        dialog.show();
        QCOMPARE(dialog.TongueLabel->text(), QStringLiteral("Ich spreche deutsch"));
        QCOMPARE(dialog.Label1->text(), QStringLiteral("I speak English"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Return);
        dialog.close();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.chosenLanguage(), -1);
        dialog.GermanBtn->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.chosenLanguage(), 1);
        dialog.show();
        dialog.EnglishBtn->click();
        QCOMPARE(dialog.chosenLanguage(), 0);
    }

    void languageDialogTakesAClickOnEachSentence()
    {
        TTongueDlg dialog;
        const QList<QPair<QLabel*, int>> choices{{dialog.TongueLabel, 1}, {dialog.Label1, 0}};
        for (const auto& [sentence, language] : choices) {
            session_->settings().language = -1;
            dialog.show();
            QTest::mouseClick(sentence, Qt::LeftButton, {}, QPoint(20, sentence->height() / 2));
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
            QCOMPARE(dialog.chosenLanguage(), language);
        }
    }

private:
    QString toolHint() const { return form_->findChild<QWidget*>(QStringLiteral("UpBtn"))->toolTip(); }

    static QString label(const TOptionDlg& dialog, const char* name)
    {
        const QLabel* found = dialog.label(QString::fromLatin1(name));
        return found ? found->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
    }

    std::unique_ptr<Sandbox> sandbox_;
    std::unique_ptr<GameSession> session_;
    std::unique_ptr<RecordingMedia> media_;
    EventLog log_;
    std::unique_ptr<AnsweringMessages> messages_;
    SilentSound sound_;
    std::unique_ptr<TMainform> form_;
};

QTEST_MAIN(OptionDialogTest)
#include "option_dialog_test.moc"
