#pragma once

#include <QString>

class QTextCursor;
class QTextDocument;
class QWidget;

// The transcript text as the find and replace dialog searches it: the
// selection, a search from a position, and the document for Replace All.
class SearchableText {
public:
    virtual ~SearchableText() = default;
    virtual QString SelText() const = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    virtual void setSelStart(int start) = 0;
    // Selects the first match at or after `start`; its position, or -1.
    virtual int Find(const QString &text, int start, int options) = 0;
    virtual QTextCursor textCursor() const = 0;
    virtual void setTextCursor(const QTextCursor &cursor) = 0;
    virtual QTextDocument *document() const = 0;
    // The text's own widget, to give the keyboard back to.
    virtual QWidget *textWidget() = 0;
};
