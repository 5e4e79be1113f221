// The player's help menu: the help page per language and its fallback, the web
// pages, the sound settings, the about box with the windows it hides, the
// translation page, and a menu bar on which every menu can be reached.
#include "about/frm_about.h"
#include "i18n/captions.h"
#include "platform/product_info.h"
#include "player/wrapping_menu_bar.h"
#include "test_form1_harness.h"

#include <QToolButton>

using namespace quillory;
using namespace quillory::test;

namespace {

const QStringList Languages = {"English", "Italiano", "Deutsch", "Español", "French"};

void startIn(PlayerRig &rig, const QString &language, bool editorShown = true)
{
    rig.writeSettings({language + ".lng", "", "0", "5", "2", "0", "", editorShown ? "0" : "1"});
    rig.start();
}

QUrl fileUrl(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

} // namespace

class TestForm1Help : public QObject {
    Q_OBJECT
private slots:
    void helpPageOfEachLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        QTest::newRow("English") << "English"
                                 << "Help.html";
        QTest::newRow("Italiano") << "Italiano"
                                  << "Guida.html";
        QTest::newRow("Deutsch") << "Deutsch"
                                 << "Hilfe.html";
        QTest::newRow("Español") << "Español"
                                 << "Ayuda.html";
        QTest::newRow("French") << "French"
                                << "Aide.html";
    }
    void helpPageOfEachLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, page);
        PlayerRig rig;
        startIn(rig, language);
        QCOMPARE(rig.T(24) + ".html", page);
        control<QAction>(*rig.form, "mnuGuida")->trigger();
        QCOMPARE(rig.fakes.links.opened, QList<QUrl>{fileUrl(rig.home.file(page))});
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        // The page is one of ours, in the language's own words.
        const QByteArray html = rig.home.read(page);
        QVERIFY(html.contains("<meta charset=\"utf-8\">"));
        QVERIFY(html.contains("Quillory"));
        QVERIFY(html.contains("F5") && html.contains("Bookmarks/") &&
                html.contains("Quillory.ini"));
    }

    void missingPageFallsBackToGuidaUntilTheNextLanguageLoad()
    {
        PlayerRig rig;
        startIn(rig, "English");
        QVERIFY(QFile::remove(rig.home.file("Help.html")));
        control<QAction>(*rig.form, "mnuGuida")->trigger();
        QCOMPARE(rig.T(24), QStringLiteral("Guida"));
        control<QAction>(*rig.form, "mnuGuida")->trigger();
        const QUrl guida = fileUrl(rig.home.file("Guida.html"));
        QCOMPARE(rig.fakes.links.opened, (QList<QUrl>{guida, guida}));
        // Loading a language again brings back its own entry.
        rig.fakes.fileDialogs.choose(rig.home.file("Lang/English.lng"));
        control<QAction>(*rig.form, "mnuLingua")->trigger();
        QCOMPARE(rig.T(24), QStringLiteral("Help"));
    }

    void entryThatLeavesTheProgramFolderIsNotFollowed()
    {
        PlayerRig rig;
        startIn(rig, "English");
        rig.home.write("outside.html", "<html></html>");
        rig.form->languageTable().setEntry(24, QStringLiteral("../") +
                                                   QFileInfo(rig.home.path()).fileName() +
                                                   QStringLiteral("/outside"));
        control<QAction>(*rig.form, "mnuGuida")->trigger();
        QCOMPARE(rig.fakes.links.opened, QList<QUrl>{fileUrl(rig.home.file("Guida.html"))});
    }

    void noHelpPageAtAllIsReported()
    {
        PlayerRig rig;
        startIn(rig, "Deutsch");
        QVERIFY(QFile::remove(rig.home.file("Hilfe.html")));
        QVERIFY(QFile::remove(rig.home.file("Guida.html")));
        control<QAction>(*rig.form, "mnuGuida")->trigger();
        QVERIFY(rig.fakes.links.opened.isEmpty());
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QVERIFY(rig.fakes.messages.shown[0].text.contains(rig.home.file("Guida.html")));
        QCOMPARE(rig.fakes.messages.shown[0].title, rig.T(1));
    }

    void webPagesUnderTheHomePage()
    {
        PlayerRig rig;
        startIn(rig, "Italiano");
        control<QAction>(*rig.form, "mnuAggiornamenti")->trigger();
        control<QAction>(*rig.form, "mnuFaiDonazione")->trigger();
        QCOMPARE(rig.fakes.links.opened,
                 (QList<QUrl>{QUrl(product::homePage() + "/"),
                              QUrl(product::homePage() + "/donazioni.html")}));
        QVERIFY(rig.fakes.messages.shown.isEmpty());
    }

    void aLinkThatCannotOpenIsReported()
    {
        PlayerRig rig;
        startIn(rig, "English");
        rig.fakes.links.result = false;
        control<QAction>(*rig.form, "mnuAggiornamenti")->trigger();
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QVERIFY(rig.fakes.messages.shown[0].text.contains(product::homePage()));
    }

    void soundSettings()
    {
        PlayerRig rig;
        startIn(rig, "French");
        QCOMPARE(control<QAction>(*rig.form, "mnuImpostaAudio")->shortcut(),
                 QKeySequence(Qt::Key_F9));
        control<QAction>(*rig.form, "mnuImpostaAudio")->trigger();
        QCOMPARE(rig.fakes.soundSettings.opens, 1);
        QVERIFY(rig.fakes.messages.shown.isEmpty());

        rig.fakes.soundSettings.available = false;
        control<QAction>(*rig.form, "mnuImpostaAudio")->trigger();
        QCOMPARE(rig.fakes.soundSettings.opens, 2);
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(rig.fakes.messages.shown[0].text, caption("sound.none", QString()));
        QVERIFY(rig.fakes.messages.shown[0].text.contains("pavucontrol"));
        QCOMPARE(rig.fakes.messages.shown[0].title, rig.T(1));
    }

    void aboutBoxHidesAndGivesBackTheWindows_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("editorShown");
        for (const QString &language : Languages) {
            QTest::newRow(qPrintable(language + " with editor")) << language << true;
            QTest::newRow(qPrintable(language + " without editor")) << language << false;
        }
    }
    void aboutBoxHidesAndGivesBackTheWindows()
    {
        QFETCH(QString, language);
        QFETCH(bool, editorShown);
        PlayerRig rig;
        startIn(rig, language, editorShown);
        Form1 &form = *rig.form;
        QCOMPARE(editorOf(form)->isVisible(), editorShown);
        QVERIFY(!form.aboutBox());
        control<QAction>(form, "mnuInfo")->trigger();
        frmAbout *about = form.aboutBox();
        QVERIFY(about);
        QVERIFY(about->isVisible());
        QVERIFY(!form.isVisible());
        QVERIFY(!editorOf(form)->isVisible());
        QCOMPARE(about->lblVersion->text(), product::releaseText());
        QCOMPARE(about->lblDescription->text(), rig.T(22));
        QVERIFY(about->lblCredits->text().endsWith(" - " + rig.T(23)));

        QTest::mouseClick(about->lblDescription, Qt::LeftButton);
        QVERIFY(!about->isVisible());
        QVERIFY(form.isVisible());
        QCOMPARE(editorOf(form)->isVisible(), editorShown);

        // The box is kept and shown again the next time.
        control<QAction>(form, "mnuInfo")->trigger();
        QCOMPARE(form.aboutBox(), about);
        QVERIFY(about->isVisible());
        about->close();
        QVERIFY(form.isVisible());
        QCOMPARE(editorOf(form)->isVisible(), editorShown);
    }

    void aboutBoxTellsShowFromHideWhenTheyBeginAlike()
    {
        // A language whose show and hide words share their first three letters.
        QFile english(sourceDir() + "/resources/Lang/English.lng");
        QVERIFY(english.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(english.readAll()).split("\r\n");
        QVERIFY(lines.size() > 86);
        lines[84] = "84 Show";
        lines[85] = "85 Show no more";
        const QByteArray bytes = lines.join("\r\n").toUtf8();
        for (bool shown : {true, false}) {
            PlayerRig rig;
            rig.home.write("Lang/Test.lng", bytes);
            startIn(rig, "Test", shown);
            QCOMPARE(editorOf(*rig.form)->isVisible(), shown);
            control<QAction>(*rig.form, "mnuInfo")->trigger();
            QVERIFY(!editorOf(*rig.form)->isVisible());
            rig.form->aboutBox()->close();
            QCOMPARE(editorOf(*rig.form)->isVisible(), shown);
        }
    }

    void translationPageIsWrittenAndOpened()
    {
        PlayerRig rig;
        startIn(rig, "Español");
        control<QAction>(*rig.form, "mnuAggLingua")->trigger();
        const QString page = rig.home.file("Invia_Traduzione.html");
        QVERIFY(QFile::exists(page));
        QCOMPARE(rig.fakes.links.opened, QList<QUrl>{fileUrl(page)});
        QVERIFY(rig.form->isMinimized());
        const QByteArray html = rig.home.read("Invia_Traduzione.html");
        QVERIFY(html.contains("mailto:" + product::maintainerAddress().toUtf8()));
        QVERIFY(html.contains("name=\"Traduzione100\""));
        QVERIFY(!html.contains("name=\"Traduzione101\""));
    }

    void translationPageThatCannotBeWrittenIsReported()
    {
        PlayerRig rig;
        startIn(rig, "English");
        // A folder in the page's place.
        QVERIFY(QDir().mkpath(rig.home.file("Invia_Traduzione.html")));
        control<QAction>(*rig.form, "mnuAggLingua")->trigger();
        QVERIFY(rig.fakes.links.opened.isEmpty());
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QVERIFY(!rig.form->isMinimized());
    }

    void everyMenuWithinReach_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString &language : Languages)
            QTest::newRow(qPrintable(language)) << language;
    }
    void everyMenuWithinReach()
    {
        QFETCH(QString, language);
        PlayerRig rig;
        startIn(rig, language);
        Form1 &form = *rig.form;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *bar = qobject_cast<WrappingMenuBar *>(form.menuBar());
        QVERIFY(bar);
        const QList<QMenu *> menus = {
            control<QMenu>(form, "mnuFile"),       control<QMenu>(form, "mnuRiproduzione"),
            control<QMenu>(form, "mnuVisualizza"), control<QMenu>(form, "mnuOpzioni"),
            control<QMenu>(form, "mnuDonazioni"),  control<QMenu>(form, "mnuHelp")};
        QCOMPARE(bar->menuActions().size(), menus.size());
        QSet<QMenuBar *> rows;
        for (QMenu *menu : menus) {
            QMenuBar *row = bar->rowOf(menu->menuAction());
            QVERIFY2(row, qPrintable(menu->title()));
            QVERIFY(row->isVisible());
            rows.insert(row);
            const QRect item = row->actionGeometry(menu->menuAction());
            QVERIFY2(item.isValid() && !item.isEmpty(), qPrintable(menu->title()));
            QVERIFY2(item.right() < row->width(), qPrintable(menu->title()));
            // The row lies inside the window, below the one before it.
            const QRect inWindow(row->mapTo(&form, item.topLeft()), item.size());
            QVERIFY(form.rect().contains(inWindow));
        }
        QCOMPARE(rows.size(), bar->rowCount());
        for (QMenuBar *row : rows)
            for (QToolButton *arrow : row->findChildren<QToolButton *>())
                QVERIFY2(!arrow->isVisible(), "the overflow arrow is shown");
        // The client area starts below the last row.
        QVERIFY(form.centralWidget()->y() >= bar->height());
        QCOMPARE(bar->height(), bar->heightForWidth(bar->width()));
    }

    void theWindowGrowsByTheSecondRowAndShrinksBack()
    {
        PlayerRig rig;
        startIn(rig, "English");
        Form1 &form = *rig.form;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *bar = qobject_cast<WrappingMenuBar *>(form.menuBar());
        QVERIFY(bar);
        const int oneRow = bar->rowCount();
        const int height = form.height();
        const int rowHeight = bar->height();
        // Long captions need one more row.
        control<QMenu>(form, "mnuOpzioni")->setTitle(QStringLiteral("&Options and more options"));
        control<QMenu>(form, "mnuDonazioni")->setTitle(QStringLiteral("&Donations welcome"));
        QTRY_COMPARE(bar->rowCount(), oneRow + 1);
        QTRY_COMPARE(form.height(), height + rowHeight);
        // The editor keeps its place directly below the player.
        QWidget *editor = editorOf(form);
        QCOMPARE(editor->y(), form.y() + form.frameGeometry().height());
        QTRY_COMPARE(bar->height(), 2 * rowHeight);
        QVERIFY(bar->rowOf(control<QMenu>(form, "mnuHelp")->menuAction()) != bar);
        // The language brings the short captions back.
        form.ApplyLanguage();
        QTRY_COMPARE(bar->rowCount(), oneRow);
        QTRY_COMPARE(form.height(), height);
        QCOMPARE(editor->y(), form.y() + form.frameGeometry().height());
        QCOMPARE(bar->rowOf(control<QMenu>(form, "mnuHelp")->menuAction()), bar);
    }

    void aMenuOnTheSecondRowOpens()
    {
        PlayerRig rig;
        startIn(rig, "Italiano");
        Form1 &form = *rig.form;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *bar = qobject_cast<WrappingMenuBar *>(form.menuBar());
        QVERIFY(bar->rowCount() >= 2);
        QCOMPARE(editorOf(form)->y(), form.y() + form.frameGeometry().height());
        QMenuBar *row = bar->rowOf(control<QMenu>(form, "mnuHelp")->menuAction());
        QVERIFY(row != bar);
        QTest::mouseClick(
            row, Qt::LeftButton, {},
            row->actionGeometry(control<QMenu>(form, "mnuHelp")->menuAction()).center());
        QTRY_VERIFY(control<QMenu>(form, "mnuHelp")->isVisible());
        control<QMenu>(form, "mnuHelp")->close();
    }
};

QTEST_MAIN(TestForm1Help)
#include "test_form1_help.moc"
