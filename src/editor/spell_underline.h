#pragma once

#include "spelling/word_scanner.h"

#include <QHash>
#include <QObject>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <optional>

namespace quillory::spelling {
class SpellChecker;
}

// Underlines the misspelt words of a text box, in the part of the document
// on screen only: after a keystroke, a scroll or a new dictionary, the
// paragraphs shown are checked once the event loop is free, each paragraph's
// answer kept by its text, so typing re-checks the one paragraph it changed
// and opening a long transcript never waits for the whole of it. The marks
// are extra selections: the document and its undo history never see them.
class SpellUnderline : public QObject {
    Q_OBJECT
public:
    SpellUnderline(QTextEdit *text, quillory::spelling::SpellChecker *checker);

    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }

    // The misspelt word covering a document position, as its document
    // start and length.
    std::optional<quillory::spelling::WordSpan> misspeltAt(int position) const;

    // Checks what is shown now instead of when the event loop is free.
    void refreshNow();
    // The document ranges underlined now.
    QList<quillory::spelling::WordSpan> underlined() const;
    // Paragraphs checked (not found among the remembered ones) by the last refresh.
    int paragraphsCheckedLastTime() const { return m_checkedLastTime; }
    // Paragraphs looked at (shown) by the last refresh.
    int paragraphsShownLastTime() const { return m_shownLastTime; }

signals:
    // The marks on screen have been brought up to date.
    void refreshed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshSoon();
    QTextBlock firstShownBlock();
    const QList<quillory::spelling::WordSpan> &misspeltIn(const QString &paragraph);

    QTextEdit *m_text;
    // Compared by address only: events still arrive while the editor is being
    // destroyed, when it can no longer be asked for its viewport.
    const QObject *m_viewport;
    quillory::spelling::SpellChecker *m_checker;
    QTimer m_timer;
    bool m_enabled = false;
    QHash<QString, QList<quillory::spelling::WordSpan>> m_paragraphs;
    QList<QTextEdit::ExtraSelection> m_marks;
    int m_firstShown = 0;
    int m_checkedLastTime = 0;
    int m_shownLastTime = 0;
};
