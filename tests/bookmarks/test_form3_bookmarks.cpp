// The bookmark list window with the player: adding, removing, playing from a
// bookmark, the media switch, the two ways the program ends, placement and the
// language.
#include "bookmarks/form3.h"
#include "player/test_form1_harness.h"
#include "session/bookmark_file.h"

#include <QListWidget>

using namespace quillory;
using namespace quillory::test;

namespace {

// A name prompt during which the media plays on for typingMs.
class TypingInputBoxes : public FakeInputBoxes {
public:
    SimulatedMediaEngine *engine = nullptr;
    std::int64_t typingMs = 0;
    QString ask(QWidget *owner, const QString &prompt, const QString &title,
                const QString &defaultText) override
    {
        if (engine)
            engine->advance(typingMs);
        return FakeInputBoxes::ask(owner, prompt, title, defaultText);
    }
};

class BookmarkRig : public PlayerRig {
public:
    BookmarkRig()
    {
        typing.engine = engine;
        create();
        Services services = fakes.services();
        services.inputs = &typing;
        form->setBookmarkWindowFactory([this, services] {
            return std::make_unique<Form3>(session, services, form->languageTable(), form->bookmarkHost());
        });
        start();
    }
    Form3 *list() { return dynamic_cast<Form3 *>(form->bookmarkWindow()); }
    QStringList labels()
    {
        QStringList out;
        for (int i = 0; i < list()->List1->count(); ++i)
            out << list()->List1->item(i)->text();
        return out;
    }
    // "+" at the current position with the given name.
    void add(const QString &name)
    {
        typing.answers << name;
        list()->Command1_Click();
    }
    void doubleClick(int row)
    {
        list()->List1->setCurrentRow(row);
        list()->List1_DblClick();
    }
    QString bmPath(const QString &mediaName) const
    {
        return home.file(QStringLiteral("Bookmarks/") + mediaName + QStringLiteral(".bm"));
    }
    QStringList bmLines(const QString &mediaName) const
    {
        QStringList lines;
        readTextLines(bmPath(mediaName), &lines);
        return lines;
    }
    void writeBm(const QString &mediaName, const QStringList &lines)
    {
        QByteArray bytes;
        for (const QString &l : lines)
            bytes += l.toUtf8() + "\r\n";
        home.write(QStringLiteral("Bookmarks/") + mediaName + QStringLiteral(".bm"), bytes);
    }
    qint64 position() const { return engine->positionMs(); }

    TypingInputBoxes typing;
};

QString stored(const QString &label, qint64 ms)
{
    return BookmarkLine::make(label, static_cast<double>(ms));
}

} // namespace

class TestForm3Bookmarks : public QObject {
    Q_OBJECT

private slots:
    void addingLabelsAndOrder()
    {
        BookmarkRig rig;
        rig.openAt(QStringLiteral("long.mp3"), 200 * 60000LL, 59600);
        rig.add(QStringLiteral("Intro"));
        QCOMPARE(rig.typing.asked.last().prompt, rig.T(88));
        QCOMPARE(rig.typing.asked.last().defaultText, QStringLiteral("BookMark"));
        QCOMPARE(rig.typing.asked.last().title, QStringLiteral("Quillory"));
        QCOMPARE(rig.labels(), QStringList{QStringLiteral("01:00  Intro")});

        rig.engine->advance(11 * 60000LL - 59600); // 11:00
        rig.add(QStringLiteral("b"));
        rig.engine->advance(89 * 60000LL); // 100:00
        rig.add(QStringLiteral("c"));
        rig.engine->advance(25 * 60000LL + 5000); // 125:05
        rig.add(QString());                       // cancelled: still added
        QCOMPARE(rig.labels(), (QStringList{"01:00  Intro", "100:00  c", "11:00  b", "125:05"}));
        // The table mirrors the stored list, index for index.
        const BookmarkEntries &t = rig.form->bookmarkEntries();
        QCOMPARE(t.count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(t.entry(i), rig.list()->List2->item(i)->text());
        QCOMPARE(t.entry(0), stored(QStringLiteral("01:00  Intro"), 59600));
    }

    void duplicateLabelsAreRefused()
    {
        BookmarkRig rig;
        rig.openAt(QStringLiteral("a.mp3"), 60000, 5000);
        rig.add(QStringLiteral("x"));
        rig.add(QStringLiteral("x"));
        rig.add(QStringLiteral("x  ")); // the same label once read back
        QCOMPARE(rig.fakes.messages.shown.size(), 2);
        QCOMPARE(rig.fakes.messages.shown.last().text, rig.T(89));
        QCOMPARE(rig.fakes.messages.shown.last().title, rig.T(1));
        QCOMPARE(rig.fakes.messages.shown.last().icon, MsgIcon::Exclamation);
        rig.add(QStringLiteral("y"));
        QCOMPARE(rig.labels(), (QStringList{"00:05  x", "00:05  y"}));
    }

    void storedPositionIsTakenAfterTheName()
    {
        BookmarkRig rig;
        rig.openAt(QStringLiteral("a.mp3"), 60000, 10000);
        rig.typing.typingMs = 5000;
        rig.add(QStringLiteral("slow"));
        QCOMPARE(rig.labels(), QStringList{QStringLiteral("00:10  slow")});
        QCOMPARE(BookmarkLine::positionOf(rig.list()->List2->item(0)->text()).value(),
                 qint64(15000));
    }

    void addingAtTheEndRewindsAndPlays()
    {
        BookmarkRig rig;
        rig.form->setPauseRewindSeconds(0);
        rig.form->setJumpSeconds(5);
        rig.openAt(QStringLiteral("a.mp3"), 30000, 20000);
        // Paused at the very end: jumps while paused move without playing.
        rig.form->cmdPlay_Click();
        rig.form->cmdAvanz_click();
        rig.form->cmdAvanz_click();
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.position(), qint64(30000));
        QCOMPARE(rig.form->playState(), PlayState::NotPlaying);
        rig.add(QStringLiteral("again"));
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.form->playState(), PlayState::Playing);
        QCOMPARE(rig.labels(), QStringList{QStringLiteral("00:00  again")});
    }

    void nothingHappensWithoutMedia()
    {
        BookmarkRig rig;
        rig.form->mnuAddBM_Click();
        QVERIFY(rig.list()->isVisible());
        QVERIFY(rig.typing.asked.isEmpty());
        QCOMPARE(rig.fakes.messages.beeps, 1);
        QVERIFY(rig.labels().isEmpty());
        QVERIFY(!QFileInfo::exists(rig.home.file(QStringLiteral("Bookmarks"))));
    }

    void the502ndBookmarkIsRefused()
    {
        BookmarkRig rig;
        QStringList lines;
        for (int i = 0; i < BookmarkEntries::Capacity; ++i)
            lines << stored(QStringLiteral("00:00  %1").arg(i, 3, 10, QLatin1Char('0')), i);
        rig.writeBm(QStringLiteral("full.mp3"), lines);
        rig.openAt(QStringLiteral("full.mp3"), 60000, 9000);
        QCOMPARE(rig.list()->List1->count(), BookmarkEntries::Capacity);
        rig.add(QStringLiteral("one more"));
        QCOMPARE(rig.fakes.messages.beeps, 1);
        QVERIFY(rig.typing.asked.isEmpty());
        QCOMPARE(rig.form->bookmarkEntries().count(), BookmarkEntries::Capacity);
        rig.form->SaveBookmarks();
        QCOMPARE(rig.bmLines(QStringLiteral("full.mp3")), lines);
    }

    void removingKeepsListsAndTableTogether()
    {
        BookmarkRig rig;
        rig.form->setPauseRewindSeconds(0);
        rig.openAt(QStringLiteral("a.mp3"), 120000, 10000);
        rig.add(QStringLiteral("one"));
        rig.engine->advance(10000);
        rig.add(QStringLiteral("two"));
        rig.engine->advance(10000);
        rig.add(QStringLiteral("three"));

        rig.list()->List1->clearSelection();
        rig.list()->Command2_Click(); // nothing selected: nothing removed
        QCOMPARE(rig.labels().size(), 3);
        rig.list()->List1->setCurrentRow(0);
        rig.list()->Command2_Click();
        QCOMPARE(rig.labels(), (QStringList{"00:20  two", "00:30  three"}));
        QCOMPARE(rig.form->bookmarkEntries().used(),
                 (QStringList{stored("00:20  two", 20000), stored("00:30  three", 30000)}));
        // Each remaining bookmark plays from its own position.
        rig.doubleClick(1);
        QCOMPARE(rig.position(), qint64(30000));
        rig.doubleClick(0);
        QCOMPARE(rig.position(), qint64(20000));
        rig.form->SaveBookmarks();
        QCOMPARE(rig.bmLines(QStringLiteral("a.mp3")).size(), 2);
    }

    void doubleClickKeepsThePlayState()
    {
        BookmarkRig rig;
        rig.form->setPauseRewindSeconds(3);
        rig.openAt(QStringLiteral("a.mp3"), 120000, 20000);
        rig.add(QStringLiteral("here"));
        rig.engine->advance(20000);

        // Playing: playback resumes at the bookmark minus the rewind.
        QCOMPARE(rig.form->playState(), PlayState::Playing);
        rig.doubleClick(0);
        QCOMPARE(rig.form->playState(), PlayState::Playing);
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.position(), qint64(17000));

        // Paused: it stays paused, at that same point.
        rig.engine->advance(15000);
        rig.form->cmdPlay_Click();
        QCOMPARE(rig.form->playState(), PlayState::NotPlaying);
        rig.doubleClick(0);
        QCOMPARE(rig.form->playState(), PlayState::NotPlaying);
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.position(), qint64(17000));

        // With the media closed a double click changes nothing.
        rig.form->mnuChiudi_Click();
        rig.doubleClick(0);
        QVERIFY(!control<PictureButton>(*rig.form, "cmdPlay")->isEnabled());
        QVERIFY(!rig.form->displayTimerRunning());
    }

    void mediaSwitchCarriesEachFilesBookmarks()
    {
        BookmarkRig rig;
        const QString b = stored(QStringLiteral("00:03  Bee"), 3000);
        rig.writeBm(QStringLiteral("b.mp3"), {b});

        rig.openAt(QStringLiteral("a.mp3"), 60000, 4000);
        QVERIFY(!rig.list()->isLoaded()); // a has no file: nothing was shown
        rig.form->mnuAddBM_Click();
        QCOMPARE(rig.fakes.messages.beeps, 1);
        QCOMPARE(rig.labels(), QStringList{QStringLiteral("00:04")});

        const QString bPath = rig.mediaFile(QStringLiteral("b.mp3"));
        rig.form->OpenMediaFile(bPath);
        QCOMPARE(rig.bmLines(QStringLiteral("a.mp3")),
                 QStringList{stored(QStringLiteral("00:04  "), 4000)});
        QCOMPARE(rig.labels(), QStringList{QStringLiteral("00:03  Bee")});
        QVERIFY(rig.list()->isVisible());
        QCOMPARE(control<QAction>(*rig.form, "mnuBookMark")->text(),
                 rig.T(85) + QStringLiteral(" &BookMarks"));

        rig.form->OpenMediaFile(rig.home.file(QStringLiteral("media/a.mp3")));
        QCOMPARE(rig.labels(), QStringList{QStringLiteral("00:04")});
        QCOMPARE(rig.bmLines(QStringLiteral("b.mp3")), QStringList{b});

        // A file without bookmarks empties the list and gets no file.
        const QString cPath = rig.mediaFile(QStringLiteral("c.mp3"));
        rig.form->OpenMediaFile(cPath);
        QVERIFY(rig.labels().isEmpty());
        QVERIFY(rig.form->bookmarkEntries().isEmpty());
        QVERIFY(!QFile::exists(rig.bmPath(QStringLiteral("c.mp3"))));
        QCOMPARE(rig.bmLines(QStringLiteral("a.mp3")).size(), 1);

        // The same name in another folder shares the bookmarks.
        rig.home.write(QStringLiteral("other/b.mp3"), "RIFF");
        rig.form->OpenMediaFile(rig.home.file(QStringLiteral("other/b.mp3")));
        QCOMPARE(rig.labels(), QStringList{QStringLiteral("00:03  Bee")});
    }

    void removedBookmarksStayRemoved()
    {
        BookmarkRig rig;
        rig.writeBm(QStringLiteral("a.mp3"), {stored(QStringLiteral("00:03  x"), 3000)});
        rig.openAt(QStringLiteral("a.mp3"), 60000, 1000);
        rig.list()->List1->setCurrentRow(0);
        rig.list()->Command2_Click();
        QVERIFY(!rig.form->Form_Unload());
        QVERIFY(!QFile::exists(rig.bmPath(QStringLiteral("a.mp3"))));

        BookmarkRig again;
        again.openAt(QStringLiteral("a.mp3"), 60000, 1000);
        QVERIFY(!again.list()->isLoaded());
        QVERIFY(again.form->bookmarkEntries().isEmpty());
    }

    void exitKeepsTheNewBookmarksButNotTheSettings()
    {
        BookmarkRig rig;
        rig.openAt(QStringLiteral("a.mp3"), 60000, 7000);
        rig.form->mnuAddBM_Click();
        QVERIFY(!rig.settingsExist());
        rig.form->mnuEsci_Click();
        QCOMPARE(rig.endCount(), 1);
        QCOMPARE(rig.bmLines(QStringLiteral("a.mp3")),
                 QStringList{stored(QStringLiteral("00:07  "), 7000)});
        QVERIFY(!rig.settingsExist());
    }

    void failedOpenDoesNotWriteUnderTheNewName()
    {
        BookmarkRig rig;
        rig.openAt(QStringLiteral("a.mp3"), 60000, 7000);
        rig.add(QStringLiteral("mine"));
        const QString broken = rig.mediaFile(QStringLiteral("broken.mp3"));
        rig.engine->setOpenError(broken, MediaError::CannotLoadDriver);
        rig.form->OpenMediaFile(broken);
        QCOMPARE(rig.endCount(), 1);
        QVERIFY(!QFile::exists(rig.bmPath(QStringLiteral("broken.mp3"))));
        QCOMPARE(rig.bmLines(QStringLiteral("a.mp3")).size(), 1);
    }

    void damagedFileOpens()
    {
        BookmarkRig rig;
        QByteArray bytes = "ab\r\n\0\0\0\r\n" + QByteArray(5000, '\xff') + "\r\n";
        for (int i = 0; i < 600; ++i)
            bytes += stored(QStringLiteral("00:%1  n").arg(i % 60, 2, 10, QLatin1Char('0')), i)
                         .toUtf8() +
                     "\r\n";
        rig.home.write(QStringLiteral("Bookmarks/d.mp3.bm"), bytes);
        rig.openAt(QStringLiteral("d.mp3"), 60000, 0);
        QCOMPARE(rig.list()->List1->count(), BookmarkEntries::Capacity);
        QVERIFY(rig.list()->isVisible());
    }

    void closingThePlayerSavesAndClosesTheList()
    {
        BookmarkRig rig;
        rig.openAt(QStringLiteral("a.mp3"), 60000, 2000);
        rig.form->mnuAddBM_Click();
        QVERIFY(!rig.form->Form_Unload());
        QCOMPARE(rig.bmLines(QStringLiteral("a.mp3")).size(), 1);
        QVERIFY(rig.settingsExist());
        Form3 *list = rig.list();
        QVERIFY(list->isHidden());
        QVERIFY(list->Timer1.isActive());
        QCOMPARE(list->Timer1.interval(), 50);
        QTRY_VERIFY(!list->isLoaded());
        QVERIFY(!list->Timer1.isActive());
        QCOMPARE(control<QAction>(*rig.form, "mnuBookMark")->text(),
                 rig.T(84) + QStringLiteral(" &BookMarks"));
        // The table took the lists back.
        QCOMPARE(rig.form->bookmarkEntries().count(), 1);
    }

    void showHidePlacementAndResize()
    {
        BookmarkRig rig;
        Form1 &player = *rig.form;
        QWidget *editor = editorOf(player);
        editor->show();
        player.mnuBookMark_Click();
        Form3 *list = rig.list();
        QVERIFY(list->isVisible());
        QCOMPARE(control<QAction>(player, "mnuBookMark")->text(),
                 rig.T(85) + QStringLiteral(" &BookMarks"));
        const QRect p = player.frameGeometry();
        QCOMPARE(list->frameGeometry().topLeft(), QPoint(p.x() + p.width(), p.y()));
        QCOMPARE(list->frameGeometry().width(), editor->frameGeometry().width() - p.width());
        QCOMPARE(editor->y(), list->frameGeometry().y() + list->frameGeometry().height());
        QCOMPARE(editor->x(), player.x());

        // The list follows the width; the buttons stay at the right edge.
        list->resize(list->width() + 90, list->height());
        QCOMPARE(list->List1->width(), list->width() - 2 * list->List1->x());
        QCOMPARE(list->Command1->x() + list->Command1->width() < list->width(), true);
        QVERIFY(list->width() - (list->Command1->x() + list->Command1->width()) < 10);
        QCOMPARE(list->Command2->x() + list->Command2->width() < list->Command1->x(), true);

        player.mnuBookMark_Click();
        QVERIFY(list->isHidden());
        QVERIFY(list->isLoaded());
        QCOMPARE(control<QAction>(player, "mnuBookMark")->text(),
                 rig.T(84) + QStringLiteral(" &BookMarks"));
    }

    // The player puts the editor under whatever sits above it: the list while
    // it shows bookmarks, otherwise the player itself; always at the player's
    // left edge.
    void thePlayerPlacesTheEditorUnderTheListOrItself()
    {
        BookmarkRig rig;
        Form1 &player = *rig.form;
        QWidget *editor = editorOf(player);
        editor->show();
        rig.writeBm(QStringLiteral("b.mp3"), {stored(QStringLiteral("01:00  x"), 60000)});
        rig.openAt(QStringLiteral("b.mp3"), 120000, 0);
        Form3 *list = rig.list();
        QVERIFY(list && list->isVisible());
        const QRect listFrame = list->frameGeometry();
        QVERIFY(listFrame.bottom() != player.frameGeometry().bottom());

        editor->move(0, 0);
        player.Form_Initialize();
        QCOMPARE(editor->pos(), QPoint(player.x(), listFrame.y() + listFrame.height()));

        // Shown but empty: no gap under the player.
        rig.openAt(QStringLiteral("c.mp3"), 120000, 0);
        QVERIFY(list->isVisible());
        QCOMPARE(player.bookmarkEntries().count(), 0);
        editor->move(0, 0);
        player.Form_Initialize();
        const QRect p = player.frameGeometry();
        QCOMPARE(editor->pos(), QPoint(p.x(), p.y() + p.height()));
    }

    void languageReachesTheList()
    {
        BookmarkRig rig;
        rig.form->mnuBookMark_Click();
        Form3 *list = rig.list();
        QCOMPARE(list->Command1->toolTip(), QStringLiteral(" ") + rig.T(93) + QStringLiteral(" "));
        QCOMPARE(list->Command2->toolTip(), QStringLiteral(" ") + rig.T(100) + QStringLiteral(" "));
        QVERIFY(!rig.T(100).isEmpty());
        rig.fakes.fileDialogs.choose(rig.home.file(QStringLiteral("Lang/Italiano.lng")));
        rig.form->mnuLingua_Click();
        QCOMPARE(list->Command2->toolTip(), QStringLiteral(" ") + rig.T(100) + QStringLiteral(" "));
        QCOMPARE(control<QAction>(*rig.form, "mnuBookMark")->text(),
                 rig.T(85) + QStringLiteral(" &BookMarks"));
        QCOMPARE(list->windowTitle(), QStringLiteral("Bookmarks"));
    }

    void nextAndPreviousFromTheMenu()
    {
        BookmarkRig rig;
        rig.form->setPauseRewindSeconds(2);
        rig.writeBm(QStringLiteral("a.mp3"), {stored(QStringLiteral("00:10  a"), 10000),
                                              stored(QStringLiteral("00:30  b"), 30000),
                                              stored(QStringLiteral("00:50  c"), 50000)});
        rig.openAt(QStringLiteral("a.mp3"), 60000, 15000);
        control<QAction>(*rig.form, "mnuBMsuccessivo")->trigger();
        QCOMPARE(rig.position(), qint64(28000));
        QVERIFY(rig.engine->isPlaying());
        control<QAction>(*rig.form, "mnuBMsuccessivo")->trigger();
        QCOMPARE(rig.position(), qint64(48000));
        control<QAction>(*rig.form, "mnuBMsuccessivo")->trigger(); // none left
        QCOMPARE(rig.fakes.messages.beeps, 1);
        QCOMPARE(rig.position(), qint64(48000));
        control<QAction>(*rig.form, "mnuBMprecedente")->trigger();
        QCOMPARE(rig.position(), qint64(28000));
        control<QAction>(*rig.form, "mnuBMprecedente")->trigger();
        QCOMPARE(rig.position(), qint64(8000));
        QCOMPARE(rig.form->playState(), PlayState::Playing);
    }
};

QTEST_MAIN(TestForm3Bookmarks)
#include "test_form3_bookmarks.moc"
