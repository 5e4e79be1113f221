// What a language switch changes beyond the menus: the editor's title, Qt's
// own texts (from Qt's translation file of the language), and the spelling
// dictionary when it follows the interface.
#include "editor/editor_spelling.h"
#include "i18n/qt_translations.h"
#include "test_form1_harness.h"

#include <QFileInfo>

using namespace quillory;
using namespace quillory::test;

class TestLanguageSwitchFollows : public QObject {
    Q_OBJECT
private slots:
    void titleQtTextsAndDictionaryFollowTheSwitch()
    {
        PlayerRig rig;
        rig.writeSettings({"Italiano.lng", "", "0", "5", "2", "0", "", "0"});
        Form1 &form = rig.start();
        Form2 *editor = editorOf(form);
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), rig.T(96) + " - " + rig.T(97) + " 1");
        const bool haveQtFiles =
            QFileInfo::exists(QtTranslations::folder() + QStringLiteral("/qtbase_it.qm"));
        if (haveQtFiles) {
            QCOMPARE(QtTranslations::current().installedFile(),
                     QtTranslations::folder() + QStringLiteral("/qtbase_it.qm"));
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                     QStringLiteral("Annulla"));
        }
        QCOMPARE(editor->spelling().checker().dictionaryName().left(2), QStringLiteral("it"));

        rig.fakes.fileDialogs.choose(rig.home.file("Lang/Deutsch.lng"));
        form.mnuLingua_Click();
        // "Texteditor - Unbenannt 1" at once, not at the next start.
        QCOMPARE(editor->windowTitle(), rig.T(96) + " - " + rig.T(97) + " 1");
        QVERIFY(editor->windowTitle().contains(QStringLiteral("Unbenannt")));
        if (haveQtFiles) {
            QCOMPARE(QtTranslations::current().installedFile(),
                     QtTranslations::folder() + QStringLiteral("/qtbase_de.qm"));
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                     QStringLiteral("Abbrechen"));
        }
        if (!editor->spelling().checker().dictionaryName().isEmpty())
            QCOMPARE(editor->spelling().checker().dictionaryName().left(2), QStringLiteral("de"));

        rig.fakes.fileDialogs.choose(rig.home.file("Lang/English.lng"));
        form.mnuLingua_Click();
        QCOMPARE(editor->windowTitle(), QStringLiteral("Text Editor - Untitled 1"));
        QVERIFY(QtTranslations::current().installedFile().isEmpty());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }
};

QTEST_MAIN(TestLanguageSwitchFollows)
#include "test_language_switch_follows.moc"
