#pragma once

#include "contracts/searchable_text.h"
#include "editor/document_snapshot.h"
#include "platform/files/text_file.h"

#include <QTextEdit>
#include <functional>
#include <optional>

class QMenu;
class QPagedPaintDevice;
class QTextCharFormat;

// The transcript's rich-text control: a QTextEdit with the file operations and
// the selection and search operations the editor and the find dialog use.
class RichTextBox : public QTextEdit, public SearchableText {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    // Replaces the whole content with the file: RTF keeps its formatting, any
    // other file is read as plain text. A file that cannot be read keeps the
    // current content; a damaged RTF file loads what could be read and returns
    // success with the damage described in `reason`.
    quillory::FileResult LoadFile(const QString &path);
    // LoadFile for a file's bytes already read.
    quillory::FileResult loadBytes(const QByteArray &bytes);
    // A transcript file's bytes: only a regular file, and one small enough to
    // open in seconds (a clear refusal above, in the user's language).
    static quillory::FileResult readTranscriptFile(const QString &path, QByteArray *bytes);
    // Writes the whole content as RTF, whatever the extension, safely.
    quillory::FileResult SaveFile(const QString &path) const;
    quillory::FileResult LoadPlainText(const QString &path);
    quillory::FileResult SavePlainText(const QString &path) const;

    // The whole content as a snapshot that shares unchanged paragraphs with
    // earlier ones, and putting one back (one change event, caret after the
    // part that differed). What the undo history keeps.
    quillory::DocumentSnapshot Snapshot() const { return m_mirror.snapshot(); }
    void setSnapshot(const quillory::DocumentSnapshot &snapshot);
    // True when the kept paragraph list matches the document (for tests).
    bool snapshotInStep() const { return m_mirror.matchesDocument(); }

    // Replaces the whole content with a document read elsewhere, as one edit.
    void setDocumentContent(const QTextDocument &incoming) { replaceContent(incoming); }

    QByteArray TextRTF() const;
    void setTextRTF(const QByteArray &rtf);
    // The language the transcript is written in, as RTF names it (a Windows
    // language identifier; 0 for none): read with an RTF file, reset by a text
    // or plain-text file, written with the RTF.
    int documentLanguage() const { return m_documentLanguage; }
    void setDocumentLanguage(int language);
    QString Text() const { return toPlainText(); }
    // SearchableText: the QTextEdit's own.
    QTextCursor textCursor() const override { return QTextEdit::textCursor(); }
    void setTextCursor(const QTextCursor &cursor) override { QTextEdit::setTextCursor(cursor); }
    QTextDocument *document() const override { return QTextEdit::document(); }
    QWidget *textWidget() override { return this; }
    // Puts clipboard-style content in at the caret, as a paste does.
    void pasteMimeData(const QMimeData *source) { insertFromMimeData(source); }
    void setText(const QString &text);

    int SelStart() const override;
    void setSelStart(int start) override;
    int SelLength() const override;
    void setSelLength(int length);
    QString SelText() const override;
    void setSelText(const QString &text);

    // Selection attributes. Reading a boolean over a mixed selection gives
    // nullopt (neither true nor false); writing applies to the whole selection,
    // or to the caret when nothing is selected.
    std::optional<bool> SelBold() const;
    void setSelBold(bool on);
    std::optional<bool> SelItalic() const;
    void setSelItalic(bool on);
    std::optional<bool> SelUnderline() const;
    void setSelUnderline(bool on);
    std::optional<bool> SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    std::optional<bool> SelBullet() const;
    void setSelBullet(bool on);
    // Paragraph alignment of the selection: Qt::AlignLeft, AlignHCenter, AlignRight.
    std::optional<Qt::Alignment> SelAlignment() const;
    void setSelAlignment(Qt::Alignment alignment);
    std::optional<QString> SelFontName() const;
    void setSelFontName(const QString &family);
    std::optional<double> SelFontSize() const;
    void setSelFontSize(double points);
    std::optional<QRgb> SelColor() const;
    void setSelColor(QRgb rgb);

    // Prints the selection, or the whole document when nothing is selected.
    void SelPrint(QPagedPaintDevice *device) const;

    // Finds `text` from `start` to the end; options: 2 whole word, 4 match case.
    // Selects the hit and returns its offset, or -1.
    int Find(const QString &text, int start, int options) override;

    // The document position of the character under a point of the viewport, or
    // -1 when the point is not over text (margins, past the end of a line).
    int characterAt(const QPoint &viewportPoint) const;

signals:
    // One per change of the content, also for content set by the program.
    void Change();
    // Before the control handles a key; set *handled to keep it from the control.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers, bool *handled);
    // Asked before the window's shortcuts see a key: set *claimed when KeyDown
    // will act on it, so that it reaches KeyDown instead of a shortcut.
    void ClaimsKey(int key, Qt::KeyboardModifiers modifiers, bool *claimed);
    // The right-click menu, before it shows, for items about the text at
    // `position` (a document position).
    void ContextMenu(QMenu *menu, int position);
    void documentLanguageChanged(int language);

private:
    // The value of `read` over every character of the selection (or at the
    // caret); nullopt when the characters differ.
    template <typename T>
    std::optional<T> uniformCharValue(const std::function<T(const QTextCharFormat &)> &read) const;
    void mergeSelectionFormat(const QTextCharFormat &format);

    quillory::DocumentMirror m_mirror;
    int m_documentLanguage = 0;

protected:
    void replaceContent(const QTextDocument &incoming);
    bool event(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Pasted and dropped content keeps only what the file can hold.
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};
