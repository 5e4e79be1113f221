#pragma once

#include "platform/files/text_file.h"

#include <QTextEdit>

// The transcript's rich-text control: a QTextEdit with the file operations and
// the selection and search operations the editor and the find dialog use.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    // Replaces the whole content with the file: RTF keeps its formatting, any
    // other file is read as plain text. A file that cannot be read keeps the
    // current content; a damaged RTF file loads what could be read and returns
    // success with the damage described in `reason`.
    quillory::FileResult LoadFile(const QString &path);
    // Writes the whole content as RTF, whatever the extension, safely.
    quillory::FileResult SaveFile(const QString &path) const;
    quillory::FileResult LoadPlainText(const QString &path);
    quillory::FileResult SavePlainText(const QString &path) const;

    QByteArray TextRTF() const;
    void setTextRTF(const QByteArray &rtf);
    QString Text() const { return toPlainText(); }
    void setText(const QString &text);

    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    void setSelText(const QString &text);

    // Finds `text` from `start` to the end; options: 2 whole word, 4 match case.
    // Selects the hit and returns its offset, or -1.
    int Find(const QString &text, int start, int options);

signals:
    // One per change of the content, also for content set by the program.
    void Change();
    // Before the control handles a key; set *handled to keep it from the control.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers, bool *handled);

protected:
    void replaceContent(const QTextDocument &incoming);
    void keyPressEvent(QKeyEvent *event) override;
};
