#include "rich_text_box.h"

#include "editor/rtf/plain_text.h"
#include "editor/rtf/rtf_reader.h"
#include "editor/rtf/rtf_writer.h"

#include <QFile>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

using namespace quillory;

namespace {

bool readWholeFile(const QString &path, QByteArray *bytes, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFile::NoError) {
        *why = file.errorString();
        return false;
    }
    return true;
}

bool isWordCharacter(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

} // namespace

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
    // contentsChange fires once per edit, typed or set by the program.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed != 0 || added != 0)
            emit Change();
    });
}

FileResult RichTextBox::LoadFile(const QString &path)
{
    QByteArray bytes;
    QString why;
    if (!readWholeFile(path, &bytes, &why))
        return FileResult::failure(why);
    QTextDocument loaded;
    FileResult result = FileResult::success();
    // A damaged RTF file still shows what could be read; the caller warns.
    if (isRtf(bytes) && !readRtf(bytes, &loaded, &why))
        result.reason = why;
    else if (!isRtf(bytes))
        readPlainText(bytes, &loaded);
    replaceContent(loaded);
    return result;
}

FileResult RichTextBox::SaveFile(const QString &path) const
{
    return writeFileSafely(path, TextRTF());
}

FileResult RichTextBox::LoadPlainText(const QString &path)
{
    QByteArray bytes;
    QString why;
    if (!readWholeFile(path, &bytes, &why))
        return FileResult::failure(why);
    setText(decodePlainText(bytes));
    return FileResult::success();
}

FileResult RichTextBox::SavePlainText(const QString &path) const
{
    return writeFileSafely(path, toPlainTextFile(*document()));
}

QByteArray RichTextBox::TextRTF() const { return writeRtf(*document()); }

void RichTextBox::setTextRTF(const QByteArray &rtf)
{
    QTextDocument incoming;
    readRtf(rtf, &incoming);
    replaceContent(incoming);
}

void RichTextBox::replaceContent(const QTextDocument &incoming)
{
    // Built aside and put in as one edit, so the change event fires once.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.insertFragment(QTextDocumentFragment(&incoming));
    cursor.endEditBlock();
    QTextCursor start(document());
    setTextCursor(start);
}

void RichTextBox::setText(const QString &text)
{
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setCharFormat(QTextCharFormat());
    cursor.insertText(text);
    cursor.endEditBlock();
    setTextCursor(QTextCursor(document()));
}

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }

void RichTextBox::setSelStart(int start)
{
    QTextCursor cursor = textCursor();
    const int end = std::max(0, static_cast<int>(document()->characterCount()) - 1);
    cursor.setPosition(std::clamp(start, 0, end));
    setTextCursor(cursor);
}

int RichTextBox::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextBox::setSelLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = std::max(0, static_cast<int>(document()->characterCount()) - 1);
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + std::max(0, length), 0, end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString RichTextBox::SelText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void RichTextBox::setSelText(const QString &text)
{
    QTextCursor cursor = textCursor();
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cursor.insertText(plain);
    setTextCursor(cursor);
}

int RichTextBox::Find(const QString &text, int start, int options)
{
    if (text.isEmpty())
        return -1;
    const bool wholeWord = (options & 2) != 0;
    const Qt::CaseSensitivity cs = (options & 4) != 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString all = toPlainText();
    int from = std::max(0, start);
    while (from <= all.size()) {
        const int hit = all.indexOf(text, from, cs);
        if (hit < 0)
            return -1;
        const int end = hit + static_cast<int>(text.size());
        const bool wordStart = hit == 0 || !isWordCharacter(all[hit - 1]);
        const bool wordEnd = end >= all.size() || !isWordCharacter(all[end]);
        if (!wholeWord || (wordStart && wordEnd)) {
            QTextCursor cursor(document());
            cursor.setPosition(hit);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            setTextCursor(cursor);
            return hit;
        }
        from = hit + 1;
    }
    return -1;
}

void RichTextBox::keyPressEvent(QKeyEvent *event)
{
    bool handled = false;
    emit KeyDown(event->key(), event->modifiers(), &handled);
    if (handled) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}
