#include "editor/document_snapshot.h"
#include "editor/rich_text_box.h"
#include "rtf/format_runs.h"
#include "rtf/list_append.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QtTest>

using namespace quillory;

// The undo snapshots: the paragraph mirror must follow every kind of edit, and
// putting a snapshot back must give exactly the content it was taken from.
class TestDocumentSnapshot : public QObject {
    Q_OBJECT

    static void select(RichTextBox &box, int start, int length)
    {
        box.setSelStart(start);
        box.setSelLength(length);
    }
    static QString describe(const QTextDocument &doc)
    {
        QStringList lines;
        for (const FormatRun &run : formatRuns(doc))
            lines << describeRun(run);
        return lines.join(QLatin1Char('\n'));
    }
    static QString describe(const DocumentSnapshot &snapshot)
    {
        RichTextBox box;
        box.setSnapshot(snapshot);
        return describe(*box.document());
    }

    // Each paragraph as "list.item" (lists numbered by first appearance) or "-".
    static QString grouping(const QTextDocument &doc)
    {
        QList<const QTextList *> lists;
        QStringList parts;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            const QTextList *list = block.textList();
            if (!list) {
                parts << QStringLiteral("-");
                continue;
            }
            if (!lists.contains(list))
                lists << list;
            parts << QStringLiteral("%1.%2")
                         .arg(lists.indexOf(list) + 1)
                         .arg(list->itemNumber(block) + 1);
        }
        return parts.join(QLatin1Char(' '));
    }
    // Puts the given paragraphs into one new numbered list.
    static void makeList(QTextDocument *doc, const QList<int> &paragraphs)
    {
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListDecimal);
        QTextList *list = nullptr;
        for (int n : paragraphs) {
            const QTextBlock block = doc->findBlockByNumber(n);
            if (list)
                list->add(block);
            else
                list = QTextCursor(block).createList(format);
        }
    }
    static void typeAt(QTextDocument *doc, int paragraph, const QString &text)
    {
        QTextCursor(doc->findBlockByNumber(paragraph)).insertText(text);
    }

    // One edit of many kinds, chosen by the generator; each keeps positions in range.
    static void randomEdit(RichTextBox &box, QRandomGenerator &random)
    {
        const int length = box.document()->characterCount() - 1;
        const int at = int(random.bounded(length + 1));
        const int span = int(random.bounded(std::min(40, length - at) + 1));
        QTextCursor c = box.textCursor();
        switch (random.bounded(10)) {
        case 0:
        case 1:
            c.setPosition(at);
            c.insertText(QStringLiteral("word "));
            break;
        case 2:
            c.setPosition(at);
            c.insertBlock();
            break;
        case 3:
            c.setPosition(at);
            c.setPosition(at + span, QTextCursor::KeepAnchor);
            c.removeSelectedText(); // may join paragraphs
            break;
        case 4:
            select(box, at, span);
            box.setSelBold(!box.SelBold().value_or(false));
            break;
        case 5:
            select(box, at, span);
            box.setSelBullet(!box.SelBullet().value_or(false));
            break;
        case 6:
            select(box, at, span);
            box.setSelAlignment(random.bounded(2) ? Qt::AlignHCenter : Qt::AlignRight);
            break;
        case 7:
            select(box, at, span);
            box.setSelColor(qRgb(int(random.bounded(256)), 0, 128));
            box.setSelFontSize(8 + random.bounded(20));
            break;
        case 8: {
            select(box, at, span);
            QMimeData mime;
            mime.setHtml(QStringLiteral("<p><i>pasted</i> text</p><ul><li>item</li></ul>"));
            box.pasteMimeData(&mime);
            break;
        }
        default:
            c.setPosition(at);
            c.setPosition(at + span, QTextCursor::KeepAnchor);
            c.insertText(QStringLiteral("line\none\ntwo"));
            break;
        }
    }

private slots:
    void mirrorFollowsEveryKindOfEdit()
    {
        RichTextBox box;
        box.setText(QStringLiteral("first paragraph\nsecond one\nthird"));
        QVERIFY(box.snapshotInStep());
        QRandomGenerator random(7);
        for (int i = 0; i < 300; ++i) {
            randomEdit(box, random);
            QVERIFY2(box.snapshotInStep(), qPrintable(QStringLiteral("after edit %1").arg(i)));
        }
        box.setTextRTF("{\\rtf1 {\\b one}\\par two\\par}");
        QVERIFY(box.snapshotInStep());
        box.setText(QString());
        QVERIFY(box.snapshotInStep());
    }

    void restoringGivesBackEachSnapshotExactly_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {11u, 23u, 37u, 41u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void restoringGivesBackEachSnapshotExactly()
    {
        QFETCH(quint32, seed);
        RichTextBox box;
        box.setText(QStringLiteral("alpha beta\ngamma delta\nepsilon"));
        QRandomGenerator random(seed);
        QList<DocumentSnapshot> taken{box.Snapshot()};
        QStringList looks{describe(*box.document())};
        for (int i = 0; i < 60; ++i) {
            randomEdit(box, random);
            taken << box.Snapshot();
            looks << describe(*box.document());
        }
        // Back and forth in a scrambled order, as Undo and Redo do.
        QList<int> order;
        for (int i = int(taken.size()) - 1; i >= 0; --i)
            order << i;
        for (int i = 0; i < 40; ++i)
            order << int(random.bounded(int(taken.size())));
        for (int i : order) {
            QSignalSpy changes(&box, &RichTextBox::Change);
            const QString before = describe(*box.document());
            box.setSnapshot(taken[i]);
            QCOMPARE(describe(*box.document()), looks[i]);
            QVERIFY(box.snapshotInStep());
            QVERIFY(box.Snapshot().sameContent(taken[i]));
            QCOMPARE(changes.count(), before == looks[i] ? 0 : 1); // one edit, one event
        }
        box.setSnapshot(DocumentSnapshot::empty());
        QCOMPARE(box.Text(), QString());
    }

    // A numbered list broken by a plain paragraph is still one list: undoing an
    // edit on either side must not start a second list that counts from 1.
    void anInterruptedListStaysOneList()
    {
        RichTextBox box;
        box.setText(QStringLiteral("one\nbreak\ntwo\nthree\nend"));
        makeList(box.document(), {0, 2, 3});
        const DocumentSnapshot listed = box.Snapshot();
        QCOMPARE(grouping(*box.document()), QStringLiteral("1.1 - 1.2 1.3 -"));

        for (int paragraph : {0, 1, 2, 3, 4}) {
            typeAt(box.document(), paragraph, QStringLiteral("x"));
            box.setSnapshot(listed);
            QCOMPARE(grouping(*box.document()), QStringLiteral("1.1 - 1.2 1.3 -"));
            QVERIFY(box.snapshotInStep());
            QVERIFY(box.Snapshot().sameContent(listed));
        }
        // Going back to before the list existed, then forward again.
        const QString text = box.Text();
        box.setText(text);
        const DocumentSnapshot plain = box.Snapshot();
        box.setSnapshot(listed);
        QCOMPARE(grouping(*box.document()), QStringLiteral("1.1 - 1.2 1.3 -"));
        box.setSnapshot(plain);
        QCOMPARE(grouping(*box.document()), QStringLiteral("- - - - -"));
    }

    void neighbouringListsStayApart()
    {
        RichTextBox box;
        box.setText(QStringLiteral("a\nb\nc\nd\ne"));
        makeList(box.document(), {0, 1});
        makeList(box.document(), {2, 3}); // same look, a list of its own
        const DocumentSnapshot two = box.Snapshot();
        QCOMPARE(grouping(*box.document()), QStringLiteral("1.1 1.2 2.1 2.2 -"));
        for (int paragraph : {1, 2, 4}) {
            typeAt(box.document(), paragraph, QStringLiteral("x"));
            box.setSnapshot(two);
            QCOMPARE(grouping(*box.document()), QStringLiteral("1.1 1.2 2.1 2.2 -"));
            QVERIFY(box.snapshotInStep());
        }
    }

    // Only grouping tells these apart, so they are different content, and
    // putting one in place of the other regroups paragraphs whose text and
    // formats did not change.
    void groupingIsPartOfTheContent()
    {
        RichTextBox joined;
        joined.setText(QStringLiteral("a\nb\nc\nd"));
        makeList(joined.document(), {0, 1, 2});
        RichTextBox split;
        split.setText(QStringLiteral("a\nb\nc\nd"));
        makeList(split.document(), {0, 2});
        makeList(split.document(), {1});
        QVERIFY(!joined.Snapshot().sameContent(split.Snapshot()));
        QVERIFY(joined.Snapshot().sameContent(joined.Snapshot()));

        typeAt(split.document(), 3, QStringLiteral("x"));
        QSignalSpy changes(&split, &RichTextBox::Change);
        split.setSnapshot(joined.Snapshot());
        QCOMPARE(changes.count(), 1);
        QCOMPARE(grouping(*split.document()), QStringLiteral("1.1 1.2 1.3 -"));
        QCOMPARE(split.Text(), QStringLiteral("a\nb\nc\nd"));
        QVERIFY(split.snapshotInStep());
        QVERIFY(split.Snapshot().sameContent(joined.Snapshot()));
    }

    void aKeystrokeSharesEveryOtherParagraph()
    {
        RichTextBox box;
        QStringList lines;
        for (int i = 0; i < 50; ++i)
            lines << QStringLiteral("paragraph %1 of the transcript").arg(i);
        box.setText(lines.join(QLatin1Char('\n')));
        const DocumentSnapshot before = box.Snapshot();
        QTextCursor c(box.document()->findBlockByNumber(10));
        c.insertText(QStringLiteral("x"));
        const DocumentSnapshot after = box.Snapshot();
        int shared = 0;
        for (int i = 0; i < 50; ++i)
            shared += before.paragraphs[i] == after.paragraphs[i] ? 1 : 0;
        QCOMPARE(shared, 49);
        QCOMPARE(after.paragraphs[10]->text, QStringLiteral("xparagraph 10 of the transcript"));
        QCOMPARE(before.paragraphs[10]->text, QStringLiteral("paragraph 10 of the transcript"));
    }

    void formattingAloneKeepsTheTextShared()
    {
        RichTextBox box;
        box.setText(QStringLiteral("one\ntwo\nthree"));
        const DocumentSnapshot before = box.Snapshot();
        select(box, 0, 13);
        box.setSelBold(true);
        const DocumentSnapshot after = box.Snapshot();
        for (int i = 0; i < 3; ++i) {
            QVERIFY(before.paragraphs[i] != after.paragraphs[i]);
            QVERIFY(before.paragraphs[i]->text.constData() ==
                    after.paragraphs[i]->text.constData());
        }
    }

    void listsAndAlignmentComeBack()
    {
        RichTextBox box;
        box.setText(QStringLiteral("a\nb\nc\nd"));
        const DocumentSnapshot plain = box.Snapshot();
        select(box, 2, 3); // b and c
        box.setSelBullet(true);
        box.setSelAlignment(Qt::AlignRight);
        const DocumentSnapshot bulleted = box.Snapshot();
        box.setSnapshot(plain);
        QVERIFY(!box.document()->findBlockByNumber(1).textList());
        box.setSnapshot(bulleted);
        const QTextBlock b = box.document()->findBlockByNumber(1);
        const QTextBlock c = box.document()->findBlockByNumber(2);
        QVERIFY(b.textList() && b.textList() == c.textList()); // still one list
        QVERIFY(!box.document()->findBlockByNumber(3).textList());
        QCOMPARE(c.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }

    // A long bulleted transcript of `items` paragraphs.
    static void fillList(QTextDocument &doc, int items, const QString &word)
    {
        QTextCursor cursor(&doc);
        QTextList *list = nullptr;
        for (int i = 1; i <= items; ++i) {
            if (i > 1)
                cursor.insertBlock(QTextBlockFormat());
            cursor.insertText(word + QString::number(i));
            if (list)
                addListItem(list, cursor.block());
            else
                list = cursor.createList(QTextListFormat::ListDecimal);
        }
    }

    // Putting a long list into an empty document, as the recovery copy's
    // rebuild does, or in place of another, marks each item changed once;
    // Qt's own QTextList::add and remove mark the whole list each time (n²/2
    // for n items).
    void longListsGoInAndOutInWorkInProportionToTheirItems()
    {
        constexpr int kItems = 2000;
        QTextDocument first, second;
        fillList(first, kItems, QStringLiteral("item "));
        fillList(second, kItems, QStringLiteral("point "));
        const DocumentSnapshot firstSnapshot = DocumentMirror(&first).snapshot();
        const DocumentSnapshot secondSnapshot = DocumentMirror(&second).snapshot();

        QTextDocument copy;
        qint64 before = listItemsMarkedChanged();
        QVERIFY(DocumentMirror::restore(&copy, DocumentSnapshot::empty(), firstSnapshot) >= 0);
        QCOMPARE(listItemsMarkedChanged() - before, qint64(kItems - 1));
        QVERIFY(DocumentMirror(&copy).snapshot().sameContent(firstSnapshot));
        QCOMPARE(grouping(copy), grouping(first));

        // Every paragraph rewritten: each old item leaves its list (marking the
        // last paragraph too, renumbered, which stays for the first new one),
        // and each new one joins the new list.
        before = listItemsMarkedChanged();
        QVERIFY(DocumentMirror::restore(&copy, firstSnapshot, secondSnapshot) >= 0);
        QVERIFY2(listItemsMarkedChanged() - before < 3 * kItems,
                 qPrintable(QString::number(listItemsMarkedChanged() - before)));
        QVERIFY(DocumentMirror(&copy).snapshot().sameContent(secondSnapshot));
        QCOMPARE(grouping(copy), grouping(second));
    }
};

QTEST_MAIN(TestDocumentSnapshot)
#include "test_document_snapshot.moc"
