#include "spell_underline.h"

#include "spelling/spell_checker.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

using quillory::spelling::WordSpan;

namespace {
// Paragraph answers kept; past this many the table starts again, so a long
// session of scrolling cannot grow it without end.
constexpr int RememberedParagraphs = 20000;
} // namespace

SpellUnderline::SpellUnderline(QTextEdit *text, quillory::spelling::SpellChecker *checker)
    : QObject(text), m_text(text), m_viewport(text->viewport()), m_checker(checker)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &SpellUnderline::refreshNow);
    connect(text->document(), &QTextDocument::contentsChange, this, &SpellUnderline::refreshSoon);
    connect(text->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &SpellUnderline::refreshSoon);
    connect(text->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &SpellUnderline::refreshSoon);
    // The word being typed is underlined once the caret leaves its end.
    connect(text, &QTextEdit::cursorPositionChanged, this, &SpellUnderline::refreshSoon);
    connect(checker, &quillory::spelling::SpellChecker::answersChanged, this, [this] {
        m_paragraphs.clear();
        refreshSoon();
    });
    text->viewport()->installEventFilter(this);
}

void SpellUnderline::setEnabled(bool on)
{
    if (m_enabled == on)
        return;
    m_enabled = on;
    refreshSoon();
}

bool SpellUnderline::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport && event->type() == QEvent::Resize)
        refreshSoon();
    return false;
}

void SpellUnderline::refreshSoon()
{
    if (m_enabled || !m_marks.isEmpty())
        m_timer.start();
}

const QList<WordSpan> &SpellUnderline::misspeltIn(const QString &paragraph)
{
    auto known = m_paragraphs.find(paragraph);
    if (known == m_paragraphs.end()) {
        if (m_paragraphs.size() >= RememberedParagraphs)
            m_paragraphs.clear();
        ++m_checkedLastTime;
        known = m_paragraphs.insert(paragraph, m_checker->misspeltIn(paragraph));
    }
    return *known;
}

QTextBlock SpellUnderline::firstShownBlock()
{
    // Walked to from the one found last time: a keystroke or a scroll moves
    // it little. The layout's own rectangles are used, not a hit test, as a
    // long document is still being laid out in the background after opening
    // (asking for a block's rectangle lays it out first).
    QTextDocument *document = m_text->document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    const int scrolled = m_text->verticalScrollBar()->value();
    QTextBlock block =
        document->findBlockByNumber(std::clamp(m_firstShown, 0, document->blockCount() - 1));
    if (!block.isValid())
        block = document->firstBlock();
    while (block.previous().isValid() && layout->blockBoundingRect(block).top() > scrolled)
        block = block.previous();
    while (block.next().isValid() && layout->blockBoundingRect(block).bottom() <= scrolled)
        block = block.next();
    m_firstShown = block.blockNumber();
    return block;
}

void SpellUnderline::refreshNow()
{
    m_timer.stop();
    m_checkedLastTime = 0;
    m_shownLastTime = 0;
    QList<QTextEdit::ExtraSelection> marks;
    if (m_enabled && m_checker->isReady()) {
        QTextCharFormat wavy;
        wavy.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
        wavy.setUnderlineColor(Qt::red);
        QTextDocument *document = m_text->document();
        QAbstractTextDocumentLayout *layout = document->documentLayout();
        const int scrolled = m_text->verticalScrollBar()->value();
        const int shownHeight = m_text->viewport()->height();
        const int caret = m_text->textCursor().position();
        for (QTextBlock block = firstShownBlock(); block.isValid(); block = block.next()) {
            if (layout->blockBoundingRect(block).top() - scrolled > shownHeight)
                break;
            ++m_shownLastTime;
            for (const WordSpan &w : misspeltIn(block.text())) {
                if (block.position() + w.start + w.length == caret)
                    continue; // still being typed
                QTextEdit::ExtraSelection mark;
                mark.cursor = QTextCursor(document);
                mark.cursor.setPosition(block.position() + w.start);
                mark.cursor.setPosition(block.position() + w.start + w.length,
                                        QTextCursor::KeepAnchor);
                mark.format = wavy;
                marks.append(mark);
            }
        }
    }
    const bool same = [&] {
        if (marks.size() != m_marks.size())
            return false;
        for (int i = 0; i < marks.size(); ++i)
            if (marks[i].cursor.anchor() != m_marks[i].cursor.anchor() ||
                marks[i].cursor.position() != m_marks[i].cursor.position())
                return false;
        return true;
    }();
    if (!same) {
        m_marks = marks;
        m_text->setExtraSelections(m_marks);
    }
    emit refreshed();
}

QList<WordSpan> SpellUnderline::underlined() const
{
    QList<WordSpan> out;
    for (const QTextEdit::ExtraSelection &mark : m_marks)
        out.append({mark.cursor.selectionStart(),
                    mark.cursor.selectionEnd() - mark.cursor.selectionStart()});
    return out;
}

std::optional<WordSpan> SpellUnderline::misspeltAt(int position) const
{
    if (!m_enabled || !m_checker->isReady())
        return std::nullopt;
    const QTextBlock block = m_text->document()->findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    const int inBlock = position - block.position();
    for (const WordSpan &w : m_checker->misspeltIn(block.text()))
        if (inBlock >= w.start && inBlock <= w.start + w.length)
            return WordSpan{block.position() + w.start, w.length};
    return std::nullopt;
}
