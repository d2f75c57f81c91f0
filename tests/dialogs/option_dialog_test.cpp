// The options and language dialogs: each button's step and its immediate
// effect, the labels, and the keys that close them or not.
#include <QtTest>

#include "dialogs/option_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "session/game_state.h"
#include "play/pattern_form.h"

using namespace quellon;

class OptionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        game_ = GameData{};
        game_.quellonCount = 950;
        game_.currentQuellon = 3;
        settings_ = SettingsValues{};
        languageApplied_ = 0;
        mainRepaints_ = 0;
    }

    void languageFromUnsetToEnglishAndBack()
    {
        settings_.language = -1;
        TPatForm pattern(game_, settings_);
        game_.progressTable[3] = 8;
        TOptionDlg dialog(settings_, &pattern, hooks());
        dialog.show();
        QCOMPARE(label(dialog, "TongueLabel"), QStringLiteral("I speak English."));
        dialog.TongueBtn->click();
        QCOMPARE(settings_.language, 0);
        QCOMPARE(languageApplied_, 1);
        dialog.TongueBtn->click();
        QCOMPARE(settings_.language, 1);
        QCOMPARE(languageApplied_, 2);
        QCOMPARE(label(dialog, "TongueLabel"), QStringLiteral("Ich spreche deutsch."));
        QCOMPARE(label(dialog, "OptLabel"), QStringLiteral("Einstellungen:"));
        QCOMPARE(dialog.TongueBtn->toolTip(), QString::fromUtf8("Sprache ändern"));
        // The pattern window's caption follows at once.
        QCOMPARE(pattern.windowTitle(), QString::fromUtf8("Quellon 3 - gelöst"));
        dialog.TongueBtn->click();
        QCOMPARE(settings_.language, 0);
    }

    void backgroundRunsOneToSixAndRedrawsAtOnce()
    {
        TOptionDlg dialog(settings_, nullptr, hooks());
        dialog.show();
        QStringList seen{label(dialog, "BackLabel")};
        for (int press = 0; press < 6; ++press) {
            dialog.BackBtn->click();
            seen << label(dialog, "BackLabel");
        }
        QCOMPARE(seen, (QStringList{"Background 1", "Background 2", "Background 3", "Background 4", "Background 5",
                                    "Background 6", "Background 1"}));
        QCOMPARE(settings_.background, 0);
        QCOMPARE(mainRepaints_, 6);
    }

    void patternPlacementHidesShowsAndResizesTheWindow()
    {
        settings_.patmode = 3;
        TPatForm pattern(game_, settings_);
        pattern.showPattern();
        QCOMPARE(pattern.size(), QSize(361, 240));
        TOptionDlg dialog(settings_, &pattern, hooks());
        dialog.show();
        QCOMPARE(label(dialog, "PatLabel"), QStringLiteral("Big pattern window"));

        dialog.PatBtn->click();  // 3 -> 0: on the board
        QCOMPARE(settings_.patmode, 0);
        QVERIFY(!pattern.isVisible());
        QCOMPARE(mainRepaints_, 1);
        QCOMPARE(label(dialog, "PatLabel"), QStringLiteral("Pattern in the game area"));

        dialog.PatBtn->click();  // 0 -> 1: the small window, the board without the pattern
        QCOMPARE(settings_.patmode, 1);
        QVERIFY(pattern.isVisible());
        QCOMPARE(pattern.size(), QSize(181, 120));
        QCOMPARE(mainRepaints_, 2);

        dialog.PatBtn->click();  // 1 -> 2: only the window changes
        QCOMPARE(pattern.size(), QSize(271, 180));
        QCOMPARE(mainRepaints_, 2);
    }

    void withoutMusicFilesTheButtonIsOff()
    {
        settings_.musicOn = true;
        settings_.language = 1;
        TOptionDlg dialog(settings_, nullptr, hooks());
        dialog.show();
        QVERIFY(!dialog.MusicBtn->isEnabled());
        QCOMPARE(label(dialog, "MusicLabel"), QStringLiteral("Keine Musikdateien vorhanden."));
    }

    void musicButtonSwitchesThroughThePlayer()
    {
        // The player's switch: off, or on with the next of a, b, c.
        const QStringList files{"a.mid", "b.mid", "c.mid"};
        int playing = 0;
        OptionHooks musicHooks = hooks();
        musicHooks.musicFound = [] { return true; };
        musicHooks.musicFileName = [&] { return files[playing]; };
        musicHooks.toggleMusic = [&] {
            if (!settings_.musicOn)
                playing = (playing + 1) % 3;
            return !settings_.musicOn;
        };
        TOptionDlg dialog(settings_, nullptr, musicHooks);
        dialog.show();
        QVERIFY(dialog.MusicBtn->isEnabled());
        QStringList seen;
        for (int press = 0; press < 6; ++press) {
            dialog.MusicBtn->click();
            seen << label(dialog, "MusicLabel");
        }
        QCOMPARE(seen, (QStringList{"Music is off.", "Music: b.mid", "Music is off.", "Music: c.mid", "Music is off.",
                                    "Music: a.mid"}));
    }

    void escapeIsIgnoredEnterCloses()
    {
        TOptionDlg dialog(settings_, nullptr, hooks());
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
        settings_.language = -1;
        TTongueDlg dialog(settings_);
        dialog.show();
        QCOMPARE(dialog.TongueLabel->text(), QStringLiteral("Ich spreche deutsch"));
        QCOMPARE(dialog.Label1->text(), QStringLiteral("I speak English"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Return);
        dialog.close();
        QVERIFY(dialog.isVisible());
        QCOMPARE(settings_.language, -1);
        dialog.GermanBtn->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings_.language, 1);
        dialog.show();
        dialog.EnglishBtn->click();
        QCOMPARE(settings_.language, 0);
    }

    void languageDialogTakesAClickOnEachSentence()
    {
        TTongueDlg dialog(settings_);
        const QList<QPair<QLabel*, int>> choices{{dialog.TongueLabel, 1}, {dialog.Label1, 0}};
        for (const auto& [sentence, language] : choices) {
            settings_.language = -1;
            dialog.show();
            QTest::mouseClick(sentence, Qt::LeftButton, {}, QPoint(20, sentence->height() / 2));
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
            QCOMPARE(settings_.language, language);
        }
    }

private:
    OptionHooks hooks()
    {
        OptionHooks result;
        result.applyLanguage = [this] { ++languageApplied_; };
        result.repaintMain = [this] { ++mainRepaints_; };
        result.musicFound = [] { return false; };
        return result;
    }

    static QString label(const TOptionDlg& dialog, const char* name)
    {
        const QLabel* found = dialog.label(QString::fromLatin1(name));
        return found ? found->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
    }

    GameData game_;
    SettingsValues settings_;
    int languageApplied_ = 0;
    int mainRepaints_ = 0;
};

QTEST_MAIN(OptionDialogTest)
#include "option_dialog_test.moc"
