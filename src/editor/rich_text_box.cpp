#include "rich_text_box.h"

#include "editor/paste_filter.h"
#include "editor/undo_caret.h"
#include "i18n/captions.h"
#include "platform/text/whole_word.h"
#include "rtf/format_runs.h"
#include "rtf/long_paragraphs.h"
#include "rtf/plain_text.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextList>
#include <cerrno>

using namespace quillory;

namespace {

const QString kFootnotesAsText =
    QStringLiteral("The file had footnotes; they now stand as text where their marks were and "
                   "will be saved as text.");

const QString kLongParagraphsCut =
    QStringLiteral("The file had lines of more than %1 characters; they were cut into paragraphs "
                   "of at most that length, so that typing in them stays quick. No text was lost.");

const QString kTooLarge = QStringLiteral("The file is larger than %1 MB, too large to edit as a "
                                         "transcript. Nothing was opened.");

// A transcript of a thousand pages is a few megabytes; beyond this size the
// editor would keep the user waiting many seconds with no way out (a debug
// build opens about 1 MB a second).
constexpr qint64 EditorFileLimit = 16 * 1024 * 1024;

// Adds a notice to what the caller shows after a load.
void addNotice(FileResult *result, const QString &notice)
{
    result->reason += (result->reason.isEmpty() ? QString() : QStringLiteral("\n")) + notice;
}

// Cuts the loaded text's overlong paragraphs and says so.
void cutLongParagraphsOf(QTextDocument *loaded, FileResult *result)
{
    if (cutLongParagraphs(loaded) > 0)
        addNotice(result, caption(QStringLiteral("editor.longLinesCut"), kLongParagraphsCut)
                              .arg(LongestParagraph));
}

} // namespace

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent), m_mirror(document())
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
    // The editor keeps its own history of whole-content snapshots; the
    // control's own undo stack would only double the memory.
    setUndoRedoEnabled(false);
    // contentsChange fires once per edit, typed or set by the program. The
    // snapshot mirror follows first, so a Change handler sees the new content.
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                m_mirror.contentsChanged(position, removed, added);
                if (removed != 0 || added != 0)
                    emit Change();
            });
}

void RichTextBox::setSnapshot(const DocumentSnapshot &snapshot)
{
    const QString before = document()->toPlainText();
    if (DocumentMirror::restore(document(), m_mirror.snapshot(), snapshot) < 0)
        return;
    const int caret = caretAfterRestore(before, document()->toPlainText());
    if (caret < 0)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(std::min(caret, std::max(0, document()->characterCount() - 1)));
    setTextCursor(cursor);
}

bool RichTextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        bool claimed = false;
        emit ClaimsKey(key->key(), key->modifiers(), &claimed);
        if (claimed) {
            event->accept();
            return true;
        }
    }
    return QTextEdit::event(event);
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || source->hasHtml() ||
           source->hasFormat(QStringLiteral("application/x-qrichtext"));
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source)
        return;
    QTextDocumentFragment fragment;
    if (source->hasFormat(QStringLiteral("application/x-qrichtext")))
        fragment = QTextDocumentFragment::fromHtml(
            QString::fromUtf8(source->data(QStringLiteral("application/x-qrichtext"))), document());
    else if (source->hasHtml())
        fragment = QTextDocumentFragment::fromHtml(source->html(), document());
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (!fragment.isEmpty()) {
        cursor.insertFragment(keepSavableContent(fragment));
    } else if (source->hasText()) {
        // Plain text takes the formatting at the caret, as typing would.
        cursor.insertText(savablePlainText(source->text()));
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

FileResult RichTextBox::readTranscriptFile(const QString &path, QByteArray *bytes)
{
    FileResult read = readRegularFile(path, EditorFileLimit, bytes);
    if (read.error == EFBIG)
        read.reason = caption(QStringLiteral("editor.fileTooLarge"), kTooLarge)
                          .arg(EditorFileLimit / (1024 * 1024));
    return read;
}

FileResult RichTextBox::LoadFile(const QString &path)
{
    QByteArray bytes;
    if (const FileResult read = readTranscriptFile(path, &bytes); !read)
        return read;
    return loadBytes(bytes);
}

FileResult RichTextBox::loadBytes(const QByteArray &bytes)
{
    QTextDocument loaded;
    FileResult result = FileResult::success();
    QString why;
    RtfReadReport report;
    // A damaged RTF file still shows what could be read; the caller warns.
    if (isRtf(bytes) && !readRtf(bytes, &loaded, &why, &report))
        result.reason = why;
    else if (!isRtf(bytes))
        readPlainText(bytes, &loaded);
    if (report.footnotes > 0) // told once, with the load; the caller shows the reason
        addNotice(&result, caption(QStringLiteral("rtf.footnotesAsText"), kFootnotesAsText));
    cutLongParagraphsOf(&loaded, &result);
    replaceContent(loaded);
    setDocumentLanguage(report.language);
    return result;
}

FileResult RichTextBox::SaveFile(const QString &path) const
{
    return writeFileSafely(path, TextRTF());
}

FileResult RichTextBox::LoadPlainText(const QString &path)
{
    QByteArray bytes;
    if (const FileResult read = readTranscriptFile(path, &bytes); !read)
        return read;
    QTextDocument loaded;
    readPlainText(bytes, &loaded);
    FileResult result = FileResult::success();
    cutLongParagraphsOf(&loaded, &result);
    replaceContent(loaded);
    setDocumentLanguage(0);
    return result;
}

FileResult RichTextBox::SavePlainText(const QString &path) const
{
    return writeFileSafely(path, toPlainTextFile(*document()));
}

QByteArray RichTextBox::TextRTF() const
{
    return writeRtf(*document(), m_documentLanguage);
}

void RichTextBox::setTextRTF(const QByteArray &rtf)
{
    QTextDocument incoming;
    RtfReadReport report;
    readRtf(rtf, &incoming, nullptr, &report);
    replaceContent(incoming);
    setDocumentLanguage(report.language);
}

void RichTextBox::setDocumentLanguage(int language)
{
    if (language == m_documentLanguage)
        return;
    m_documentLanguage = language;
    emit documentLanguageChanged(language);
}

void RichTextBox::replaceContent(const QTextDocument &incoming)
{
    // Built aside and put in as one edit, so the change event fires once. The
    // paragraphs go in one by one, as Undo puts them back: inserting the
    // document as one fragment costs the square of its size (7 s for 4 MB).
    DocumentMirror::restore(document(), m_mirror.snapshot(), DocumentMirror(&incoming).snapshot());
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
    setDocumentLanguage(0);
    setTextCursor(QTextCursor(document()));
}

int RichTextBox::SelStart() const
{
    return textCursor().selectionStart();
}

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
        if (!wholeWord || isWholeWordAt(all, hit, end)) {
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

// ---------------------------------------------------------------- selection attributes

template <typename T>
std::optional<T>
RichTextBox::uniformCharValue(const std::function<T(const QTextCharFormat &)> &read) const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return read(cursor.charFormat());
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    std::optional<T> value;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            const T v = read(fragment.charFormat());
            if (value && !(*value == v))
                return std::nullopt;
            value = v;
        }
    }
    if (!value)
        return read(cursor.charFormat());
    return value;
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat &format)
{
    // One merge through the control's own cursor: the selection changes in one
    // edit (one change event, one undo step), and with no selection the format
    // becomes the one typing continues with.
    mergeCurrentCharFormat(format);
}

std::optional<bool> RichTextBox::SelBold() const
{
    return uniformCharValue<bool>(
        [](const QTextCharFormat &f) { return isBoldWeight(f.fontWeight()); });
}

void RichTextBox::setSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelectionFormat(f);
}

std::optional<bool> RichTextBox::SelItalic() const
{
    return uniformCharValue<bool>([](const QTextCharFormat &f) { return f.fontItalic(); });
}

void RichTextBox::setSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeSelectionFormat(f);
}

std::optional<bool> RichTextBox::SelUnderline() const
{
    return uniformCharValue<bool>([](const QTextCharFormat &f) { return f.fontUnderline(); });
}

void RichTextBox::setSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeSelectionFormat(f);
}

std::optional<bool> RichTextBox::SelStrikeThru() const
{
    return uniformCharValue<bool>([](const QTextCharFormat &f) { return f.fontStrikeOut(); });
}

void RichTextBox::setSelStrikeThru(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeSelectionFormat(f);
}

std::optional<QString> RichTextBox::SelFontName() const
{
    return uniformCharValue<QString>([this](const QTextCharFormat &f) {
        const QStringList families = f.fontFamilies().toStringList();
        return families.isEmpty() ? document()->defaultFont().family() : families.first();
    });
}

void RichTextBox::setSelFontName(const QString &family)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    mergeSelectionFormat(f);
}

std::optional<double> RichTextBox::SelFontSize() const
{
    return uniformCharValue<double>([this](const QTextCharFormat &f) {
        return f.fontPointSize() > 0 ? f.fontPointSize() : document()->defaultFont().pointSizeF();
    });
}

void RichTextBox::setSelFontSize(double points)
{
    if (!(points > 0))
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeSelectionFormat(f);
}

std::optional<QRgb> RichTextBox::SelColor() const
{
    return uniformCharValue<QRgb>([](const QTextCharFormat &f) {
        return f.foreground().style() == Qt::NoBrush ? qRgb(0, 0, 0)
                                                     : f.foreground().color().rgb() & 0xFFFFFF;
    });
}

void RichTextBox::setSelColor(QRgb rgb)
{
    QTextCharFormat f;
    f.setForeground(QColor(rgb));
    mergeSelectionFormat(f);
}

// Paragraph attributes: every block the selection touches.
static QList<QTextBlock> selectedBlocks(const QTextCursor &cursor, const QTextDocument *doc)
{
    QList<QTextBlock> blocks;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    for (QTextBlock b = doc->findBlock(start); b.isValid(); b = b.next()) {
        blocks << b;
        if (b.position() + b.length() > end)
            break;
    }
    return blocks;
}

std::optional<bool> RichTextBox::SelBullet() const
{
    std::optional<bool> value;
    for (const QTextBlock &b : selectedBlocks(textCursor(), document())) {
        const bool bullet = b.textList() != nullptr;
        if (value && *value != bullet)
            return std::nullopt;
        value = bullet;
    }
    return value.value_or(false);
}

void RichTextBox::setSelBullet(bool on)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    const QList<QTextBlock> blocks = selectedBlocks(cursor, document());
    if (on) {
        QTextList *list = nullptr;
        for (const QTextBlock &b : blocks) {
            if (b.textList())
                continue;
            QTextCursor c(b);
            if (list == nullptr) {
                QTextListFormat format;
                format.setStyle(QTextListFormat::ListDisc);
                list = c.createList(format);
            } else {
                list->add(b);
            }
        }
    } else {
        for (const QTextBlock &b : blocks) {
            if (QTextList *list = b.textList()) {
                list->remove(b);
                QTextCursor c(b);
                QTextBlockFormat format = c.blockFormat();
                format.setIndent(0);
                c.setBlockFormat(format);
            }
        }
    }
    cursor.endEditBlock();
}

std::optional<Qt::Alignment> RichTextBox::SelAlignment() const
{
    std::optional<Qt::Alignment> value;
    for (const QTextBlock &b : selectedBlocks(textCursor(), document())) {
        Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (a == Qt::AlignLeading || a == 0 || a == Qt::AlignJustify)
            a = Qt::AlignLeft;
        if (a == Qt::AlignCenter)
            a = Qt::AlignHCenter;
        if (value && *value != a)
            return std::nullopt;
        value = a;
    }
    return value;
}

void RichTextBox::setSelAlignment(Qt::Alignment alignment)
{
    QTextCursor cursor = textCursor();
    QTextBlockFormat format;
    format.setAlignment(alignment);
    cursor.mergeBlockFormat(format);
}

void RichTextBox::SelPrint(QPagedPaintDevice *device) const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        document()->print(device);
        return;
    }
    QTextDocument selection;
    QTextCursor(&selection).insertFragment(cursor.selection());
    selection.print(device);
}

// ---------------------------------------------------------------- hit test

int RichTextBox::characterAt(const QPoint &viewportPoint) const
{
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    const QPointF point = QPointF(viewportPoint) +
                          QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int hit = layout->hitTest(point, Qt::ExactHit);
    if (hit < 0)
        return -1;
    const QTextBlock block = document()->findBlock(hit);
    const QTextLayout *lines = block.layout();
    if (!block.isValid() || !lines)
        return -1;
    const QPointF inBlock = point - layout->blockBoundingRect(block).topLeft();
    for (int i = 0; i < lines->lineCount(); ++i) {
        const QTextLine line = lines->lineAt(i);
        if (inBlock.y() < line.y() || inBlock.y() >= line.y() + line.height())
            continue;
        if (inBlock.x() < line.x() || inBlock.x() >= line.x() + line.naturalTextWidth())
            return -1;
        const int inLine = line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
        return inLine < block.length() - 1 ? block.position() + inLine : -1;
    }
    return -1;
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!menu)
        return;
    // A click off the text gives the caret's place, as the keyboard's menu key does.
    const int at = event->reason() == QContextMenuEvent::Mouse
                       ? cursorForPosition(event->pos()).position()
                       : textCursor().position();
    emit ContextMenu(menu.get(), at);
    menu->exec(event->globalPos());
}
