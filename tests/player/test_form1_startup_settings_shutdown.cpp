// Player start-up, the settings file and the two ways the program ends.
#include "test_form1_harness.h"

#include <QLocale>
#include <QScreen>
#include <csignal>
#include <sys/resource.h>

using namespace quillory;
using namespace quillory::test;

class TestForm1StartupSettingsShutdown : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void startStateBeforeAnyFile()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QCOMPARE(form.timeText(), QStringLiteral("0:00 / 0:00"));
        QVERIFY(control<QFrame>(form, "Shape1")->isHidden());
        QVERIFY(control<QLabel>(form, "Label4")->isHidden());
        for (QAction *a : controls<QAction>(
                 form, {"mnuPlay", "mnuStop", "mnuAvanti", "mnuIndietro", "mnuChiudi"}))
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        for (PictureButton *w :
             controls<PictureButton>(form, {"cmdPlay", "CmdStop", "CmdAvanz", "cmdIndietro"}))
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QCOMPARE(control<QAction>(form, "mnuSecIndietro")->text(), rig.T(30));
        QCOMPARE(form.volumePanel().Image1->toolTip(),
                 QStringLiteral(" ") + rig.T(27) + QStringLiteral(" "));
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillory"));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(form.pos(), screen.topLeft() + QPoint(50, 0));
        // The editor sits right under the player, same left edge.
        QCOMPARE(editorOf(form)->pos(), QPoint(form.x(), form.y() + form.frameGeometry().height()));
        QCOMPARE(control<PositionBar>(form, "Label2")->x(), control<QFrame>(form, "Shape1")->x());
        QCOMPARE(control<PositionBar>(form, "Label2")->width(),
                 control<QFrame>(form, "Shape1")->width());
        QCOMPARE(rig.endCount(), 0);
        // Nothing was written merely by starting.
        QVERIFY(!rig.settingsExist());
    }

    // Eight lines written by SaveSettings come back identically at the next
    // start, whatever the user's number conventions.
    void settingsRoundTripIsByteExact()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        PlayerRig rig;
        const QStringList lines = {QStringLiteral("Deutsch.lng"),
                                   QStringLiteral("42"),
                                   QStringLiteral("1365.5"),
                                   QStringLiteral("7"),
                                   QStringLiteral("4"),
                                   QStringLiteral("0"),
                                   QStringLiteral("/home/anna/Trascrizioni, 2024/\"bozze\""),
                                   QStringLiteral("1")};
        rig.writeSettings(lines);
        const QByteArray original = rig.settingsBytes();
        Form1 &form = rig.start();
        QCOMPARE(form.languageFile(), QStringLiteral("Deutsch.lng"));
        QCOMPARE(form.jumpSeconds(), 7);
        QCOMPARE(form.pauseRewindSeconds(), std::int16_t(4));
        QVERIFY(!form.showFullPath());
        QCOMPARE(form.editorFolder(), lines[6]);
        QVERIFY(!editorOf(form)->isVisible());
        rig.removeSettings();
        form.SaveSettings();
        QCOMPARE(rig.settingsBytes(), original);

        // The next start reads what this one wrote.
        PlayerRig next;
        next.home.write(QStringLiteral("Quillory.ini"), original);
        Form1 &again = next.start();
        QCOMPARE(again.jumpSeconds(), 7);
        QCOMPARE(again.editorFolder(), lines[6]);
        again.SaveSettings();
        QCOMPARE(next.settingsBytes(), original);
    }

    void fullPathLine6_data()
    {
        QTest::addColumn<QString>("line6");
        QTest::addColumn<bool>("checked");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("text") << "yes" << true;
    }
    void fullPathLine6()
    {
        QFETCH(QString, line6);
        QFETCH(bool, checked);
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "3", line6, "", "0"});
        Form1 &form = rig.start();
        QCOMPARE(control<QAction>(form, "mnuTitoloCompleto")->isChecked(), checked);
        form.SaveSettings();
        QCOMPARE(rig.settingsLines().value(5), checked ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void editorHiddenLine8_data()
    {
        QTest::addColumn<QString>("line8");
        QTest::addColumn<bool>("editorShown");
        QTest::newRow("0") << "0" << true;
        QTest::newRow("1") << "1" << false;
        QTest::newRow("5") << "5" << false;
    }
    void editorHiddenLine8()
    {
        QFETCH(QString, line8);
        QFETCH(bool, editorShown);
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "3", "1", "", line8});
        Form1 &form = rig.start();
        QCOMPARE(editorOf(form)->isVisible(), editorShown);
        // The show/hide command flips the editor and writes the new state at once.
        form.mnuMostraNascondi_Click();
        QCOMPARE(editorOf(form)->isVisible(), !editorShown);
        QCOMPARE(rig.settingsLines().value(7),
                 editorShown ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(control<QAction>(form, "mnuMostraNascondi")->text(),
                 rig.T(editorShown ? 84 : 85) + QStringLiteral(" ") + rig.T(86));
    }

    void firstStartLanguageFromCountry_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("language");
        QTest::newRow("Italy") << "Italy"
                               << "Italiano.lng";
        QTest::newRow("ITALIA") << "ITALIA"
                                << "Italiano.lng";
        QTest::newRow("Iceland") << "Iceland"
                                 << "English.lng";
        QTest::newRow("Germany") << "Germany"
                                 << "English.lng";
        QTest::newRow("unknown") << ""
                                 << "English.lng";
    }
    void firstStartLanguageFromCountry()
    {
        QFETCH(QString, country);
        QFETCH(QString, language);
        PlayerRig rig;
        rig.fakes.locale.country = country;
        rig.writeSettings({"   ", "", "0", "5", "3", "1", "", "0"});
        Form1 &form = rig.start();
        QCOMPARE(form.languageFile(), language);
        const QStringList entries = languageFileEntries(rig.home.file("Lang/" + language));
        QCOMPARE(control<QMenu>(form, "mnuFile")->title(), entries.value(2));
        QCOMPARE(control<QAction>(form, "mnuEsci")->text(), entries.value(5));
        form.SaveSettings();
        QCOMPARE(rig.settingsLines().value(0), language);
    }

    void storedLanguageIsKeptWhateverTheCountry()
    {
        PlayerRig rig;
        rig.fakes.locale.country = QStringLiteral("Italy");
        rig.writeSettings({"French.lng", "", "0", "5", "3", "1", "", "0"});
        Form1 &form = rig.start();
        QCOMPARE(form.languageFile(), QStringLiteral("French.lng"));
        QCOMPARE(control<QMenu>(form, "mnuFile")->title(),
                 languageFileEntries(rig.home.file("Lang/French.lng")).value(2));
    }

    // A folder name with a comma is one value: nothing shifts into line 8.
    void commaInEditorFolderSurvives()
    {
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "3", "1", "/data/Rossi, Mario", "1"});
        Form1 &form = rig.start();
        QCOMPARE(form.editorFolder(), QStringLiteral("/data/Rossi, Mario"));
        QVERIFY(!editorOf(form)->isVisible());
    }

    void truncatedFileFillsTheRestWithDefaults()
    {
        PlayerRig rig;
        rig.home.write(QStringLiteral("Quillory.ini"), "English.lng\r\n50\r\n1200\r\n9");
        Form1 &form = rig.start();
        QCOMPARE(form.jumpSeconds(), 9);
        QCOMPARE(form.pauseRewindSeconds(), std::int16_t(0));
        QVERIFY(form.showFullPath());
        QVERIFY(editorOf(form)->isVisible());
        form.SaveSettings();
        QCOMPARE(rig.settingsBytes(),
                 QByteArray("English.lng\r\n50\r\n1200\r\n9\r\n0\r\n1\r\n\r\n0\r\n"));
    }

    void missingFileStartsWithDefaults()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QCOMPARE(form.jumpSeconds(), 0);
        QCOMPARE(form.pauseRewindSeconds(), std::int16_t(0));
        QVERIFY(form.showFullPath());
        QVERIFY(editorOf(form)->isVisible());
        QCOMPARE(form.languageFile(), QStringLiteral("English.lng"));
    }

    // A settings write that fails (the disk refuses to grow any file, which
    // holds for root as well) leaves the old file whole and reports nothing.
    void failedWriteKeepsTheOldFile()
    {
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "3", "1", "", "0"});
        const QByteArray original = rig.settingsBytes();
        Form1 &form = rig.start();
        form.setJumpSeconds(30);

        struct rlimit oldLimit {};
        getrlimit(RLIMIT_FSIZE, &oldLimit);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit none = oldLimit;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
        form.SaveSettings();
        setrlimit(RLIMIT_FSIZE, &oldLimit);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(rig.fakes.messages.shown.isEmpty());
        const QStringList leftovers =
            QDir(rig.home.path())
                .entryList({QStringLiteral("Quillory.ini*")}, QDir::Files | QDir::Hidden);
        QCOMPARE(leftovers, QStringList{QStringLiteral("Quillory.ini")});
        QCOMPARE(rig.settingsBytes(), original);
        // Once writing works again the new value goes out.
        form.SaveSettings();
        QCOMPARE(rig.settingsLines().value(3), QStringLiteral("30"));
    }

    void escEndsWithoutWritingSettings()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        form.setJumpSeconds(12);
        QTest::keyClick(&form, Qt::Key_Escape);
        QCOMPARE(rig.endCount(), 1);
        QVERIFY(!rig.settingsExist());
        QVERIFY(!form.isVisible());
        // A close arriving after the end changes nothing either.
        form.close();
        QVERIFY(!rig.settingsExist());
        QCOMPARE(rig.endCount(), 1);
    }

    void closeBoxWritesSettings()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        form.setJumpSeconds(12);
        const QString path = rig.mediaFile(QStringLiteral("a.wav"));
        form.OpenMediaFile(path);
        rig.engine->advance(5000);
        QVERIFY(form.close());
        QCOMPARE(rig.endCount(), 1);
        QCOMPARE(rig.settingsLines().size(), 8);
        QCOMPARE(rig.settingsLines().value(3), QStringLiteral("12"));
        QCOMPARE(rig.settingsLines().value(7), QStringLiteral("0"));
        // The media was rewound and stops.
        QCOMPARE(rig.engine->positionMs(), 0);
        QVERIFY(!rig.engine->isPlaying());
        QVERIFY(!form.displayTimerRunning());
    }

    void closeWithHiddenEditorNeverAsks()
    {
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "3", "1", "", "1"});
        Form1 &form = rig.start();
        editorOf(form)->setDocumentModified(true);
        QVERIFY(form.close());
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        QCOMPARE(rig.endCount(), 1);
        QCOMPARE(rig.settingsLines().value(7), QStringLiteral("1"));
    }

    // The unsaved-text question when closing with the editor visible.
    void closeQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs"); // "" = Save As dialog cancelled
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("settingsWritten");
        QTest::newRow("cancel") << int(MsgResult::Cancel) << "" << false << false;
        QTest::newRow("no") << int(MsgResult::No) << "" << true << true;
        QTest::newRow("yes, dialog cancelled") << int(MsgResult::Yes) << "" << false << true;
        QTest::newRow("yes, save fails")
            << int(MsgResult::Yes) << "missing/folder/t.rtf" << false << true;
        QTest::newRow("yes, saved") << int(MsgResult::Yes) << "t.rtf" << true << true;
    }
    void closeQuestion()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, ends);
        QFETCH(bool, settingsWritten);
        PlayerRig rig;
        Form1 &form = rig.start();
        editorOf(form)->setDocumentModified(true);
        rig.fakes.messages.answers = {MsgResult(answer)};
        if (!saveAs.isEmpty())
            rig.fakes.fileDialogs.choose(rig.home.file(saveAs));

        QCOMPARE(form.close(), ends);
        const ShownMessage question = rig.fakes.messages.shown.value(0);
        QCOMPARE(question.text,
                 rig.T(75) + QStringLiteral(" ") + rig.T(97) + QStringLiteral(" 1?"));
        QCOMPARE(question.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(question.icon, MsgIcon::Exclamation);
        QCOMPARE(question.title, QStringLiteral("Quillory"));
        QCOMPARE(rig.endCount(), ends ? 1 : 0);
        QCOMPARE(rig.settingsExist(), settingsWritten);
        QCOMPARE(editorOf(form)->DocumentModified(), !(ends && answer == int(MsgResult::Yes)));
        if (!ends) {
            QVERIFY(form.isVisible());
            // Still running: a second close asks again.
            rig.fakes.messages.answers = {MsgResult::No};
            QVERIFY(form.close());
            QCOMPARE(rig.endCount(), 1);
        }
    }

    // Exit asks whenever the text is modified, editor visible or not, and never
    // writes the settings.
    void exitQuestion_data()
    {
        QTest::addColumn<bool>("editorVisible");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("hidden, cancel") << false << int(MsgResult::Cancel) << false;
        QTest::newRow("hidden, no") << false << int(MsgResult::No) << true;
        QTest::newRow("visible, yes, dialog cancelled") << true << int(MsgResult::Yes) << false;
        QTest::newRow("visible, no") << true << int(MsgResult::No) << true;
    }
    void exitQuestion()
    {
        QFETCH(bool, editorVisible);
        QFETCH(int, answer);
        QFETCH(bool, ends);
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "3", "1", "", editorVisible ? "0" : "1"});
        Form1 &form = rig.start();
        rig.removeSettings();
        form.OpenMediaFile(rig.mediaFile(QStringLiteral("a.wav")));
        editorOf(form)->setDocumentModified(true);
        rig.fakes.messages.answers = {MsgResult(answer)};
        form.mnuEsci_Click();
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(rig.fakes.messages.shown[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(rig.endCount(), ends ? 1 : 0);
        QVERIFY(!rig.settingsExist());
        // The media file closes only once the answer lets the program end.
        QCOMPARE(rig.engine->isOpen(), !ends);
        QCOMPARE(control<QAction>(form, "mnuPlay")->isEnabled(), !ends);
    }

    void exitWithoutChangesEndsAtOnce()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        control<QAction>(form, "mnuEsci")->trigger();
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        QCOMPARE(rig.endCount(), 1);
        QVERIFY(!editorOf(form)->isVisible());
        QVERIFY(!rig.settingsExist());
    }
};

QTEST_MAIN(TestForm1StartupSettingsShutdown)
#include "test_form1_startup_settings_shutdown.moc"
