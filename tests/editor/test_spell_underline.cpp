// The editor's spelling check: only the shown paragraphs are checked, a
// keystroke re-checks the paragraph it changed, timestamps and personal words
// are never underlined, and the right-click menu offers suggestions and "Add
// to dictionary"; the on/off item and the language are kept in Preferences.ini.
#include "editor/editor_spelling.h"
#include "editor/rich_text_box.h"
#include "editor/spell_underline.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "support/program_home.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

using namespace quillory;
using namespace quillory::spelling;
using namespace quillory::test;

namespace {

// A text box with the check, in English, its dictionary loaded.
struct Rig {
    ProgramHome home{false};
    QTextEdit text;
    QMenu tools;
    QAction *onOff = tools.addAction(QStringLiteral("check"));
    EditorSpelling *spelling = nullptr;

    Rig()
    {
        Preferences::shared().load();
        text.resize(500, 300);
        spelling =
            new EditorSpelling(&text, onOff, &tools, findDictionaries(systemDictionaryFolders()),
                               home.file(QStringLiteral("PersonalWords.txt")));
        spelling->applyLanguage(QStringLiteral("English.lng"));
        spelling->checker().waitUntilReady();
        text.show();
    }
    QStringList underlinedWords() const
    {
        QStringList out;
        for (const WordSpan &w : spelling->underline().underlined()) {
            QTextCursor c(text.document());
            c.setPosition(w.start);
            c.setPosition(w.start + w.length, QTextCursor::KeepAnchor);
            out << c.selectedText();
        }
        return out;
    }
};

bool haveEnglish()
{
    return !pickDictionary(QStringLiteral("en"), findDictionaries(systemDictionaryFolders()))
                .name.isEmpty();
}

} // namespace

class TestSpellUnderline : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (!haveEnglish())
            QSKIP("en_US not installed (scripts/install-deps.sh installs it)");
    }

    void onlyTheShownParagraphsAreChecked()
    {
        Rig rig;
        QStringList lines;
        lines << QStringLiteral("[00:01:23.4] Firstt line with #00:01:24-5# stamps [01:25]");
        for (int i = 0; i < 2000; ++i)
            lines << QStringLiteral("Paragraph %1 is correct English text.").arg(i);
        lines << QStringLiteral("The lastt one.");
        rig.text.setPlainText(lines.join(QLatin1Char('\n')));
        QVERIFY(rig.spelling->underline().underlined().isEmpty()); // not before the loop runs
        QTRY_COMPARE(rig.underlinedWords(), QStringList{QStringLiteral("Firstt")});
        const int shown = rig.spelling->underline().paragraphsShownLastTime();
        QVERIFY(shown > 0 && shown < 100);

        rig.text.verticalScrollBar()->setValue(rig.text.verticalScrollBar()->maximum());
        QTRY_COMPARE(rig.underlinedWords(), QStringList{QStringLiteral("lastt")});
        QVERIFY(rig.spelling->underline().paragraphsShownLastTime() < 100);
    }

    void aKeystrokeChecksTheParagraphItChanged()
    {
        Rig rig;
        rig.text.setPlainText(QStringLiteral("One good line.\nAnother good line.\nA third."));
        rig.spelling->underline().refreshNow();
        QTextCursor end(rig.text.document()->findBlockByNumber(1));
        end.movePosition(QTextCursor::EndOfBlock);
        rig.text.setTextCursor(end);
        QTest::keyClicks(&rig.text, QStringLiteral(" wrongg"));
        rig.spelling->underline().refreshNow();
        // Three paragraphs shown, one of them new; the word still being
        // typed is not underlined yet.
        QCOMPARE(rig.spelling->underline().paragraphsShownLastTime(), 3);
        QCOMPARE(rig.spelling->underline().paragraphsCheckedLastTime(), 1);
        QVERIFY(rig.underlinedWords().isEmpty());
        QTest::keyClick(&rig.text, Qt::Key_Space);
        rig.spelling->underline().refreshNow();
        QCOMPARE(rig.underlinedWords(), QStringList{QStringLiteral("wrongg")});
        QTest::keyClick(&rig.text, Qt::Key_Backspace);
        QTest::keyClick(&rig.text, Qt::Key_Backspace);
        rig.text.moveCursor(QTextCursor::Start);
        rig.spelling->underline().refreshNow();
        QCOMPARE(rig.spelling->underline().paragraphsCheckedLastTime(), 1);
        QVERIFY(rig.underlinedWords().isEmpty());
        // Nothing changed: every answer is remembered.
        rig.spelling->underline().refreshNow();
        QCOMPARE(rig.spelling->underline().paragraphsCheckedLastTime(), 0);
    }

    void offLeavesNothingUnderlinedAndIsKept()
    {
        {
            Rig rig;
            rig.text.setPlainText(QStringLiteral("Badd word."));
            QTRY_COMPARE(rig.underlinedWords(), QStringList{QStringLiteral("Badd")});
            rig.onOff->setChecked(false);
            QTRY_VERIFY(rig.underlinedWords().isEmpty());
            QVERIFY(!rig.spelling->underline().misspeltAt(1));
            Preferences stored(rig.home.file(QStringLiteral("Preferences.ini")));
            QVERIFY(stored.load());
            QCOMPARE(stored.flag(QStringLiteral("spelling.enabled"), true), false);
        }
    }

    void rightClickOffersSuggestionsAndTheWordList()
    {
        Rig rig;
        rig.text.setPlainText(QStringLiteral("The recordng of Zorblatt."));
        rig.spelling->underline().refreshNow();
        QCOMPARE(rig.underlinedWords(), (QStringList{"recordng", "Zorblatt"}));

        QMenu menu;
        QAction *standard = menu.addAction(QStringLiteral("Copy"));
        rig.spelling->addSuggestions(&menu, 6); // inside "recordng"
        QList<QAction *> items = menu.actions();
        QVERIFY(items.size() > 3);
        QCOMPARE(items.last(), standard);
        QAction *recording = nullptr;
        for (QAction *item : items)
            if (item->text() == QLatin1String("recording"))
                recording = item;
        QVERIFY(recording);
        recording->trigger();
        QCOMPARE(rig.text.toPlainText(), QStringLiteral("The recording of Zorblatt."));

        QMenu second;
        rig.spelling->addSuggestions(&second, 19); // inside "Zorblatt"
        QAction *add = nullptr;
        for (QAction *item : second.actions())
            if (item->objectName() == QLatin1String("spellingAddWord"))
                add = item;
        QVERIFY(add);
        add->trigger();
        rig.spelling->underline().refreshNow();
        QVERIFY(rig.underlinedWords().isEmpty());
        QStringList kept;
        QVERIFY(readTextLines(rig.home.file(QStringLiteral("PersonalWords.txt")), &kept));
        QCOMPARE(kept, QStringList{QStringLiteral("Zorblatt")});

        // A correct word gets no spelling items.
        QMenu third;
        third.addAction(QStringLiteral("Copy"));
        rig.spelling->addSuggestions(&third, 1);
        QCOMPARE(third.actions().size(), 1);
    }

    void languageChoiceIsKept()
    {
        Rig rig;
        QCOMPARE(rig.spelling->checker().dictionaryName(), QStringLiteral("en_US"));
        QAction *italian = nullptr;
        for (QAction *item : rig.spelling->languageMenu()->actions())
            if (item->data().toString() == QLatin1String("it_IT"))
                italian = item;
        if (!italian)
            QSKIP("it_IT not installed");
        italian->trigger();
        QCOMPARE(rig.spelling->checker().dictionaryName(), QStringLiteral("it_IT"));
        QCOMPARE(Preferences::shared().text(QStringLiteral("spelling.language")),
                 QStringLiteral("it_IT"));
        // A new interface language does not override a chosen dictionary.
        rig.spelling->applyLanguage(QStringLiteral("Deutsch.lng"));
        QCOMPARE(rig.spelling->checker().dictionaryName(), QStringLiteral("it_IT"));
        rig.spelling->languageMenu()->actions().first()->trigger();
        QCOMPARE(rig.spelling->checker().dictionaryName(), QStringLiteral("de_DE"));
        QVERIFY(Preferences::shared().text(QStringLiteral("spelling.language")).isEmpty());
    }

    // The transcript's language, as its RTF names it, picks the dictionary; a
    // new document goes back to the interface language, and a language chosen
    // from the menu becomes the transcript's and is saved with it.
    void transcriptLanguageChoosesTheDictionary()
    {
        const QList<DictionaryFiles> installed = findDictionaries(systemDictionaryFolders());
        if (pickDictionary(QStringLiteral("it"), installed).name.isEmpty() ||
            pickDictionary(QStringLiteral("de"), installed).name.isEmpty())
            QSKIP("it_IT or de_DE not installed");
        ProgramHome home{false};
        Preferences::shared().load();
        RichTextBox box;
        QMenu tools;
        auto *spelling = new EditorSpelling(&box, tools.addAction(QStringLiteral("check")), &tools,
                                            installed, home.file(QStringLiteral("Words.txt")));
        spelling->applyLanguage(QStringLiteral("English.lng"));
        const auto dictionary = [spelling] { return spelling->checker().dictionaryName(); };
        const auto checkedItem = [spelling] {
            return spelling->languageMenu()->actions().first()->actionGroup()->checkedAction();
        };
        QCOMPARE(dictionary(), QStringLiteral("en_US"));

        // As Word writes it: the runs say Italian, the document's default English.
        QVERIFY(box.loadBytes("{\\rtf1\\ansi\\deflang1033{\\fonttbl{\\f0 Arial;}}"
                              "\\pard\\plain\\lang1040 Buongiorno\\par}"));
        QCOMPARE(box.documentLanguage(), 1040);
        QCOMPARE(dictionary(), QStringLiteral("it_IT"));
        QCOMPARE(checkedItem()->data().toString(), QStringLiteral("it_IT"));

        box.setText(QString());
        QCOMPARE(dictionary(), QStringLiteral("en_US"));
        QCOMPARE(checkedItem(), spelling->languageMenu()->actions().first());

        for (QAction *item : spelling->languageMenu()->actions())
            if (item->data().toString() == QLatin1String("de_DE"))
                item->trigger();
        QCOMPARE(dictionary(), QStringLiteral("de_DE"));
        QCOMPARE(box.documentLanguage(), 1031);
        const QByteArray saved = box.TextRTF();
        QVERIFY(saved.contains("\\deflang1031"));
        box.setText(QString());
        QVERIFY(box.loadBytes(saved));
        QCOMPARE(box.documentLanguage(), 1031);
        Preferences::shared().remove(QStringLiteral("spelling.language"));
    }
};

QTEST_MAIN(TestSpellUnderline)
#include "test_spell_underline.moc"
