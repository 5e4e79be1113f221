// The find and replace dialog over a rich-text control, with fake message boxes.
#include "editor/rich_text_box.h"
#include "find/frm_find.h"
#include "support/fakes.h"
#include "support/program_home.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>
#include <memory>

using namespace quillory;
using namespace quillory::test;

namespace {

// One dialog over one text, in English, the editor's tag in `tag`.
struct FindRig {
    explicit FindRig(const QString &editorTag = QStringLiteral("1")) : tag(editorTag)
    {
        language.load(LanguageTable::pathOf(QStringLiteral("English.lng")));
        dialog = std::make_unique<frmFind>(
            box, [this] { return tag; }, language, fakes.services());
        dialog->setEditorFocus([this] { ++editorFocus; });
    }
    QString T(int n) const { return language.T(n); }
    void select(int start, int length)
    {
        box.setSelStart(start);
        box.setSelLength(length);
    }
    void open() { dialog->showFromEditor(); }
    QStringList shown() const
    {
        QStringList texts;
        for (const ShownMessage &m : fakes.messages.shown)
            texts << m.text;
        return texts;
    }
    static QStringList items(QComboBox *box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    }
    int weightAt(int position)
    {
        QTextCursor c(box.document());
        c.setPosition(position + 1);
        return c.charFormat().fontWeight();
    }
    void makeBold(int start, int length)
    {
        select(start, length);
        box.setSelBold(true);
        select(0, 0);
    }

    ProgramHome home;
    LanguageTable language;
    FakeServices fakes;
    RichTextBox box;
    QString tag;
    int editorFocus = 0;
    std::unique_ptr<frmFind> dialog;
};

} // namespace

class TestFrmFind : public QObject {
    Q_OBJECT

private slots:
    void findAndReplaceLayouts()
    {
        FindRig rig{QString()};
        frmFind &d = *rig.dialog;
        rig.open();
        QVERIFY(d.isVisible());
        QVERIFY(!d.isModal());
        QCOMPARE(d.windowTitle(), rig.T(56) + QStringLiteral("..."));
        for (QWidget *w : std::initializer_list<QWidget *>{d.cmdReplace, d.cmdReplaceAll,
                                                           d.lblReplace, d.cboReplace})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(d.cmdFind->isEnabled());
        QCOMPARE(d.cmdFind->text(), QStringLiteral("&") + rig.T(56));
        QCOMPARE(d.cmdCancel->text(), rig.T(21));
        QCOMPARE(d.cmdReplace->text(), rig.T(59) + QStringLiteral("..."));
        QCOMPARE(d.cmdReplaceAll->text(), rig.T(61));
        QCOMPARE(d.lblFind->text(), rig.T(56));
        QCOMPARE(d.lblReplace->text(), rig.T(60));
        QCOMPARE(d.Frame1->title(), rig.T(62));
        QCOMPARE(d.chkWholeWord->text(), rig.T(63));
        QCOMPARE(d.chkMatchCase->text(), rig.T(64));
        QVERIFY(d.picBar->isHidden());

        // The replace command while the dialog is open brings the replace layout.
        rig.tag = QStringLiteral("1");
        rig.open();
        QCOMPARE(d.windowTitle(), rig.T(59) + QStringLiteral("..."));
        for (QWidget *w : std::initializer_list<QWidget *>{d.cmdReplace, d.cmdReplaceAll,
                                                           d.lblReplace, d.cboReplace})
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));

        for (const char *name : {"cboFind", "cboReplace", "lblFind", "lblReplace", "Frame1",
                                 "chkWholeWord", "chkMatchCase", "cmdFind", "cmdReplace",
                                 "cmdReplaceAll", "cmdCancel", "picBar", "ProgressBar1"}) {
            auto *w = d.findChild<QWidget *>(QLatin1String(name));
            QVERIFY2(w, name);
            QVERIFY2(!w->accessibleName().isEmpty(), name);
        }
        QCOMPARE(d.cboFind->accessibleName(), QStringLiteral("Find"));
        QCOMPARE(d.chkMatchCase->accessibleName(), QStringLiteral("Match Case"));
    }

    void theSelectionBecomesTheFindText()
    {
        FindRig rig;
        rig.box.setText(QStringLiteral("first line\nsecond"));
        rig.select(5, 9); // " line\nsec"
        rig.open();
        QCOMPARE(rig.dialog->cboFind->currentText(), QStringLiteral("line"));
        QVERIFY(rig.dialog->lineBreakFlag());
        QCOMPARE(FindRig::items(rig.dialog->cboFind), QStringList{QStringLiteral("line")});

        FindRig plain;
        plain.box.setText(QStringLiteral("one two"));
        plain.select(3, 4);
        plain.open();
        QCOMPARE(plain.dialog->cboFind->currentText(), QStringLiteral("two"));
        QVERIFY(!plain.dialog->lineBreakFlag());

        FindRig none;
        none.open();
        QCOMPARE(none.dialog->cboFind->currentText(), QString());
        QCOMPARE(none.dialog->cboFind->count(), 0);
    }

    void findThenFindNextToTheEndAndBackToTheTop()
    {
        FindRig rig{QString()};
        rig.box.setText(QStringLiteral("a cat\nthe cat sat\nno dog"));
        rig.open();
        frmFind &d = *rig.dialog;
        d.cboFind->setEditText(QStringLiteral("cat"));
        d.cmdFind_Click();
        QCOMPARE(rig.box.SelStart(), 2);
        QCOMPARE(rig.box.SelText(), QStringLiteral("cat"));
        QCOMPARE(d.cmdFind->text(), rig.T(57));
        QVERIFY(rig.editorFocus > 0);
        d.cmdFind_Click();
        QCOMPARE(rig.box.SelStart(), 10);
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        d.cmdFind_Click(); // no third one
        QCOMPARE(rig.shown(), QStringList{rig.T(66)});
        QCOMPARE(rig.fakes.messages.shown.last().title, QStringLiteral("Quillory"));
        QVERIFY(rig.fakes.messages.shown.last().buttons == MsgButtons::Ok);
        QCOMPARE(d.cmdFind->text(), QStringLiteral("&") + rig.T(56));
        d.cmdFind_Click(); // from the top again
        QCOMPARE(rig.box.SelStart(), 2);
        QCOMPARE(d.cmdFind->text(), rig.T(57));

        // Nothing at all: T(65), and the button stays in first-search state.
        d.cboFind->setEditText(QStringLiteral("horse"));
        d.cmdFind_Click(); // find next: nothing
        d.cmdFind_Click(); // first search: nothing
        QCOMPARE(rig.shown().last(), rig.T(65));
        QCOMPARE(d.cmdFind->text(), QStringLiteral("&") + rig.T(56));
    }

    void findOnTheTenthLine()
    {
        FindRig rig{QString()};
        QStringList lines;
        for (int i = 1; i <= 12; ++i)
            lines << (i == 10 ? QStringLiteral("tenth line holds the target word")
                              : QStringLiteral("line %1 of the text").arg(i));
        rig.box.setText(lines.join(QLatin1Char('\n')));
        rig.open();
        rig.dialog->cboFind->setEditText(QStringLiteral("target"));
        rig.dialog->cmdFind_Click();
        const QTextBlock tenth = rig.box.document()->findBlockByNumber(9);
        QCOMPARE(rig.box.SelStart(), tenth.position() + 21);
        QCOMPARE(rig.box.SelText(), QStringLiteral("target"));
        rig.dialog->cmdFind_Click();
        QCOMPARE(rig.shown(), QStringList{rig.T(66)});
    }

    void singleReplaceSelectsThenReplaces()
    {
        FindRig rig;
        rig.box.setText(QStringLiteral("cat one cat two"));
        rig.makeBold(8, 3); // the second cat
        rig.open();
        frmFind &d = *rig.dialog;
        d.cboFind->setEditText(QStringLiteral("cat"));
        d.cboReplace->setEditText(QStringLiteral("lion"));
        d.cmdReplace_Click(); // first click: only finds
        QCOMPARE(rig.box.Text(), QStringLiteral("cat one cat two"));
        QCOMPARE(rig.box.SelText(), QStringLiteral("cat"));
        QCOMPARE(d.cmdReplace->text(), rig.T(59));
        d.cmdReplace_Click();
        QCOMPARE(rig.box.Text(), QStringLiteral("lion one cat two"));
        QCOMPARE(rig.box.SelStart(), 9); // the next one is selected
        QCOMPARE(rig.box.SelText(), QStringLiteral("cat"));
        d.cmdFind_Click(); // find-next state after a successful find
        QCOMPARE(d.cmdFind->text(), rig.T(57));
        rig.select(0, 0);
        d.cmdReplace_Click(); // lion is not cat: the bold cat
        QCOMPARE(rig.box.Text(), QStringLiteral("lion one lion two"));
        QCOMPARE(rig.weightAt(9), int(QFont::Bold)); // a replaced bold word stays bold
        QCOMPARE(rig.weightAt(12), int(QFont::Bold));
        QVERIFY(rig.weightAt(14) != QFont::Bold);
        // No further one: the find button goes back to the first search.
        QCOMPARE(d.cmdFind->text(), QStringLiteral("&") + rig.T(56));
        d.cmdReplace_Click();
        QCOMPARE(rig.shown(), QStringList{rig.T(65)});
    }

    void replacingACutFindTextGivesTheLineBreakBack()
    {
        FindRig rig;
        rig.box.setText(QStringLiteral("one\ntwo"));
        rig.select(0, 7);
        rig.open();
        frmFind &d = *rig.dialog;
        QCOMPARE(d.cboFind->currentText(), QStringLiteral("one"));
        d.cboReplace->setEditText(QStringLiteral("1"));
        d.cmdReplace_Click();
        d.cmdReplace_Click();
        QCOMPARE(rig.box.Text(), QStringLiteral("1\n\ntwo"));
        QVERIFY(!d.lineBreakFlag());
    }

    void replaceAllCountsAndKeepsFormatting()
    {
        FindRig rig;
        rig.box.setText(QStringLiteral("cat cats bobcat cat.\nCat"));
        rig.makeBold(0, 9); // "cat cats " bold
        rig.open();
        frmFind &d = *rig.dialog;
        d.cboFind->setEditText(QStringLiteral(" cat "));
        d.cboReplace->setEditText(QStringLiteral(" dog"));
        d.chkWholeWord->setChecked(true);
        bool barShown = false;
        int barValue = -1;
        bool barFills = false;
        const QSize before = d.size();
        rig.fakes.messages.whileOpen = [&] {
            barShown = d.picBar->isVisibleTo(&d);
            barValue = d.ProgressBar1->value();
            barFills = d.ProgressBar1->geometry() == d.picBar->rect();
        };
        // The bar has its room before the work starts: no layout runs meanwhile.
        QVERIFY(d.picBar->y() > d.Frame1->geometry().bottom());
        QVERIFY(d.rect().contains(d.picBar->geometry()));
        d.cmdReplaceAll_Click();
        QCOMPARE(rig.box.Text(), QStringLiteral("dog cats bobcat dog.\ndog"));
        QCOMPARE(rig.shown(), QStringList{rig.T(67) + QStringLiteral(" \n3 ") + rig.T(68)});
        QCOMPARE(rig.fakes.messages.shown.last().title, QStringLiteral("Quillory"));
        QVERIFY(barShown);
        QCOMPARE(barValue, d.ProgressBar1->maximum());
        QVERIFY(barFills);
        QVERIFY(d.picBar->isHidden());
        QCOMPARE(d.size(), before);
        QCOMPARE(rig.weightAt(0), int(QFont::Bold)); // replaced bold word
        QCOMPARE(rig.weightAt(4), int(QFont::Bold)); // bold text around it
        QVERIFY(rig.weightAt(9) != QFont::Bold);
        QCOMPARE(rig.box.document()->blockCount(), 2); // no line end added

        // Nothing to look for: said so, nothing changes.
        const int messages = static_cast<int>(rig.fakes.messages.shown.size());
        d.cboFind->setEditText(QStringLiteral("   "));
        d.cmdReplaceAll_Click();
        QCOMPARE(rig.box.Text(), QStringLiteral("dog cats bobcat dog.\ndog"));
        QCOMPARE(rig.fakes.messages.shown.size(), messages + 1);
        QCOMPARE(rig.shown().last(), rig.T(65));
    }

    void historiesAndDroppedText()
    {
        FindRig rig;
        rig.box.setText(QStringLiteral("some text"));
        rig.open();
        frmFind &d = *rig.dialog;
        d.cboFind->setEditText(QStringLiteral("text"));
        d.cboReplace->setEditText(QStringLiteral("  "));
        d.cmdFind_Click();
        d.cmdFind_Click();
        d.cboFind->setEditText(QStringLiteral("Text"));
        d.cmdFind_Click();
        QCOMPARE(FindRig::items(d.cboFind),
                 (QStringList{QStringLiteral("text"), QStringLiteral("Text")}));
        QCOMPARE(d.cboReplace->count(), 0); // blanks never join
        QCOMPARE(d.cboFind->currentText(), QStringLiteral("Text"));

        d.cboFind_OLEDragDrop(QStringLiteral("  dropped words \r\nsecond line"));
        QCOMPARE(d.cboFind->currentText(), QStringLiteral("dropped words"));
        QVERIFY(d.lineBreakFlag());
        QVERIFY(FindRig::items(d.cboFind).contains(QStringLiteral("dropped words")));

        FindRig other;
        other.open();
        other.dialog->cboReplace_OLEDragDrop(QStringLiteral("new\nline"));
        QCOMPARE(other.dialog->cboReplace->currentText(), QStringLiteral("new"));
        QVERIFY(!other.dialog->lineBreakFlag());
        QCOMPARE(FindRig::items(other.dialog->cboReplace), QStringList{QStringLiteral("new")});

        // A real drop on the box's text field goes the same way.
        QMimeData data;
        data.setText(QStringLiteral("from outside\nmore"));
        QLineEdit *field = other.dialog->cboFind->lineEdit();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &drop);
        QCOMPARE(other.dialog->cboFind->currentText(), QStringLiteral("from outside"));
        QVERIFY(other.dialog->lineBreakFlag());
    }

    void choosingFromTheHistoryStartsAtTheTop()
    {
        FindRig rig{QString()};
        rig.box.setText(QStringLiteral("x word word"));
        rig.open();
        frmFind &d = *rig.dialog;
        d.cboFind->setEditText(QStringLiteral("word"));
        d.cmdFind_Click();
        d.cmdFind_Click();
        QCOMPARE(rig.box.SelStart(), 7);
        // Return in the box is not a choice from the list.
        QTest::keyClick(d.cboFind->lineEdit(), Qt::Key_Return);
        QVERIFY(rig.box.SelStart() != 0);
        emit d.cboFind->activated(0);
        QCOMPARE(rig.box.SelStart(), 0);
        QCOMPARE(rig.box.SelLength(), 0);
    }

    void cancelAndTheCloseTimerUnload()
    {
        FindRig rig;
        rig.box.setText(QStringLiteral("word"));
        rig.select(0, 4);
        rig.open();
        frmFind &d = *rig.dialog;
        d.chkMatchCase->setChecked(true);
        d.cboReplace->setEditText(QStringLiteral("other"));
        d.cmdReplace_Click();
        QCOMPARE(d.cmdReplace->text(), rig.T(59));
        d.cmdCancel_Click();
        QVERIFY(!d.isVisible());
        QVERIFY(!d.isLoaded());
        QCOMPARE(d.cboFind->count(), 0);
        QCOMPARE(d.cboReplace->count(), 0);

        rig.select(0, 2);
        rig.open(); // loads afresh
        QCOMPARE(d.cboFind->currentText(), QStringLiteral("wo"));
        QCOMPARE(d.cboReplace->currentText(), QString());
        QVERIFY(!d.chkMatchCase->isChecked());
        QCOMPARE(d.cmdReplace->text(), rig.T(59) + QStringLiteral("..."));

        // The player's close: hidden at once, closed on the first tick.
        d.hideWithPlayer();
        QVERIFY(!d.isVisible());
        QVERIFY(d.isLoaded());
        d.startCloseTimer();
        QVERIFY(d.Timer1.isActive());
        QCOMPARE(d.Timer1.interval(), 100);
        QTRY_VERIFY(!d.isLoaded());
        QVERIFY(!d.Timer1.isActive());
    }

    void activationHidesTheProgressBar()
    {
        FindRig rig;
        rig.open();
        rig.dialog->picBar->show();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(rig.dialog.get(), &activate);
        QVERIFY(rig.dialog->picBar->isHidden());
    }
};

QTEST_MAIN(TestFrmFind)
#include "test_frm_find.moc"
