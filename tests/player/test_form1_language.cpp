// Language switching: the dialog, which file is read, every caption applied
// again (the editor's too), and what a short or missing file leaves behind.
#include "support/window_controls.h"
#include "test_form1_harness.h"

#include <QMenu>

#include <QTemporaryDir>

using namespace quillory;
using namespace quillory::test;

class TestForm1Language : public QObject {
    Q_OBJECT

private:
    // Captions that come straight from one entry, with the entry.
    static void verifyCaptions(Form1 &form, const QStringList &e)
    {
        QCOMPARE(control<QMenu>(form, "mnuFile")->title(), e.value(2));
        QCOMPARE(control<QAction>(form, "mnuApri")->text(), e.value(3));
        QCOMPARE(control<QAction>(form, "mnuChiudi")->text(), e.value(4));
        QCOMPARE(control<QAction>(form, "mnuEsci")->text(), e.value(5));
        QCOMPARE(control<QMenu>(form, "mnuRiproduzione")->title(), e.value(6));
        QCOMPARE(control<QAction>(form, "mnuPlay")->text(), e.value(7));
        QCOMPARE(control<QAction>(form, "mnuStop")->text(), e.value(9));
        QCOMPARE(control<QAction>(form, "mnuAvanti")->text(), e.value(10));
        QCOMPARE(control<QAction>(form, "mnuIndietro")->text(), e.value(11));
        QCOMPARE(control<QMenu>(form, "mnuOpzioni")->title(), e.value(13));
        QCOMPARE(control<QAction>(form, "mnuSalto")->text(), e.value(14));
        QCOMPARE(control<QAction>(form, "mnuLingua")->text(), QStringLiteral("&") + e.value(15));
        QCOMPARE(control<QAction>(form, "mnuGuida")->text(), e.value(16));
        QCOMPARE(control<QAction>(form, "mnuSecIndietro")->text(), e.value(30));
        QCOMPARE(control<QMenu>(form, "mnuDonazioni")->title(), e.value(74));
        QCOMPARE(control<QAction>(form, "mnuTitoloCompleto")->text(), e.value(80));
        QCOMPARE(control<QMenu>(form, "mnuVisualizza")->title(), e.value(87));
        QCOMPARE(control<QAction>(form, "mnuAddBM")->text(), e.value(93));
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->toolTip(),
                 QStringLiteral(" ") + e.value(78) + QStringLiteral(" "));
        QCOMPARE(control<PictureButton>(form, "CmdStop")->toolTip(),
                 QStringLiteral(" ") + e.value(79) + QStringLiteral(" "));
        QCOMPARE(control<PictureButton>(form, "CmdAvanz")->tag,
                 e.value(10) + QStringLiteral(" ->"));
        QCOMPARE(control<PictureButton>(form, "cmdIndietro")->tag,
                 QStringLiteral("<- ") + e.value(11));
        QCOMPARE(control<QAction>(form, "mnuMostraNascondi")->text(),
                 e.value(editorOf(form)->isVisible() ? 85 : 84) + QStringLiteral(" ") +
                     e.value(86));
        QCOMPARE(control<QAction>(form, "mnuAggLingua")->text(),
                 QStringLiteral("Aggiungi Lingua..."));
        Form2 *editor = editorOf(form);
        const auto item = [editor](const char *name) {
            return control<QAction>(*editor, name)->text();
        };
        QCOMPARE(control<QMenu>(*editor, "mnuFile")->title(), e.value(2));
        QCOMPARE(item("mnuNuovo"), e.value(42));
        QCOMPARE(item("mnuApri"), e.value(43));
        QCOMPARE(item("mnuSalva"), e.value(44));
        QCOMPARE(item("mnuSalvaConNome"), e.value(45));
        QCOMPARE(control<QMenu>(*editor, "mnuModifica")->title(), e.value(47));
        QCOMPARE(editor->UntitledName(), e.value(97) + QStringLiteral(" "));
    }

private slots:
    void switchToAnotherLanguage()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        verifyCaptions(form, languageFileEntries(rig.home.file("Lang/English.lng")));
        const QString english15 = rig.T(15);
        rig.fakes.fileDialogs.choose(rig.home.file("Lang/Deutsch.lng"));
        control<QAction>(form, "mnuLingua")->trigger();

        const FileDialogRequest &r = rig.fakes.fileDialogs.requests.value(0);
        QVERIFY(r.openMode);
        QCOMPARE(r.title, english15);
        QCOMPARE(r.filterPairs, (QStringList{english15.chopped(3), QStringLiteral("*.lng")}));
        QCOMPARE(r.defaultExtension, QStringLiteral("lng"));
        QCOMPARE(QDir(r.initialFolder).absolutePath(), QDir(rig.home.file("Lang")).absolutePath());

        QCOMPARE(form.languageFile(), QStringLiteral("Deutsch.lng"));
        verifyCaptions(form, languageFileEntries(rig.home.file("Lang/Deutsch.lng")));
        QCOMPARE(rig.settingsLines().value(0), QStringLiteral("Deutsch.lng"));
        QCOMPARE(rig.settingsLines().size(), 8);
    }

    // Any folder called Lang names the file; the text always comes from the
    // program's own Lang folder.
    void fileFromAnotherLangFolder()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QTemporaryDir elsewhere;
        QDir().mkpath(elsewhere.filePath("Lang"));
        QFile foreign(elsewhere.filePath("Lang/Italiano.lng"));
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("00 X\r\n01 X\r\n02 &Foreign\r\n");
        foreign.close();
        rig.fakes.fileDialogs.choose(elsewhere.filePath("Lang/Italiano.lng"));
        form.mnuLingua_Click();
        QCOMPARE(form.languageFile(), QStringLiteral("Italiano.lng"));
        verifyCaptions(form, languageFileEntries(rig.home.file("Lang/Italiano.lng")));
    }

    void fileOutsideAnyLangFolderKeepsTheLanguage()
    {
        PlayerRig rig;
        rig.writeSettings({"French.lng", "", "0", "5", "3", "1", "", "0"});
        Form1 &form = rig.start();
        rig.home.write("other/Deutsch.lng", "00 X\r\n01 X\r\n02 &Other\r\n");
        rig.fakes.fileDialogs.choose(rig.home.file("other/Deutsch.lng"));
        form.mnuLingua_Click();
        QCOMPARE(form.languageFile(), QStringLiteral("French.lng"));
        verifyCaptions(form, languageFileEntries(rig.home.file("Lang/French.lng")));
    }

    // Cancelled: the texts are applied again and the settings written.
    void cancelledDialogStillAppliesAndSaves()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("a.wav"), 60000, 5000);
        QVERIFY(!rig.settingsExist());
        form.mnuLingua_Click();
        QCOMPARE(form.languageFile(), QStringLiteral("English.lng"));
        QCOMPARE(form.playState(), PlayState::Playing);
        QCOMPARE(rig.settingsLines().value(0), QStringLiteral("English.lng"));
    }

    // A switch while playing keeps playing, and the play button shows the
    // pause caption of the new language; the next Play/Pause pauses.
    void switchWhilePlaying()
    {
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "0", "1", "", "0"});
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("a.wav"), 60000, 5000);
        rig.fakes.fileDialogs.choose(rig.home.file("Lang/Español.lng"));
        form.mnuLingua_Click();
        QCOMPARE(form.playState(), PlayState::Playing);
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->tag, rig.T(8));
        QVERIFY(rig.engine->isPlaying());
        QVERIFY(form.displayTimerRunning());
        rig.engine->advance(1000);
        form.cmdPlay_Click();
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->tag, rig.T(7));
        QCOMPARE(rig.engine->positionMs(), std::int64_t(6000));
    }

    void shorterFileKeepsTheLaterEntries()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QStringList english = languageFileEntries(rig.home.file("Lang/English.lng"));
        rig.home.write("Lang/Short.lng",
                       "00 Short\r\n01 Title\r\n02 &Datei\r\n03 Open it\r\n"
                       "04 Close it\r\n05 Quit\r\n06 \r\n07\r\n08 P\r\n09 Halt\r\n");
        rig.fakes.fileDialogs.choose(rig.home.file("Lang/Short.lng"));
        form.mnuLingua_Click();
        QCOMPARE(control<QMenu>(form, "mnuFile")->title(), QStringLiteral("&Datei"));
        QCOMPARE(control<QAction>(form, "mnuStop")->text(), "Halt");
        // "06 " is the empty text; "07" (two characters) too.
        QCOMPARE(control<QMenu>(form, "mnuRiproduzione")->title(), QString());
        QCOMPARE(control<QAction>(form, "mnuPlay")->text(), QString());
        // Entries past the file's end keep the English texts.
        QCOMPARE(control<QAction>(form, "mnuAvanti")->text(), english.value(10));
        QCOMPARE(control<QAction>(form, "mnuSecIndietro")->text(), english.value(30));
        QCOMPARE(control<QAction>(*editorOf(form), "mnuNuovo")->text(), english.value(42));
    }

    void missingLanguageFile()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QStringList english = languageFileEntries(rig.home.file("Lang/English.lng"));
        rig.fakes.fileDialogs.choose(rig.home.file("Lang/Klingon.lng"));
        form.mnuLingua_Click();
        QCOMPARE(form.languageFile(), QStringLiteral("Klingon.lng"));
        verifyCaptions(form, english);
    }

    void missingLanguageFileAtStart()
    {
        PlayerRig rig;
        rig.writeSettings({"Klingon.lng", "", "0", "5", "3", "1", "", "0"});
        Form1 &form = rig.start();
        QCOMPARE(form.languageFile(), QStringLiteral("Klingon.lng"));
        QCOMPARE(control<QMenu>(form, "mnuFile")->title(), QString());
        // The window still works.
        rig.openAt(QStringLiteral("a.wav"), 60000, 5000);
        form.cmdPlay_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(2000));
    }
};

QTEST_MAIN(TestForm1Language)
#include "test_form1_language.moc"
