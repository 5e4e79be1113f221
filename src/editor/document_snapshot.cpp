#include "editor/document_snapshot.h"

#include "rtf/list_append.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace quillory {

bool ParagraphState::sameContent(const ParagraphState &other) const
{
    return text == other.text && runs == other.runs && blockFormat == other.blockFormat &&
           blockCharFormat == other.blockCharFormat && inList == other.inList &&
           (!inList || listFormat == other.listFormat);
}

DocumentSnapshot DocumentSnapshot::empty()
{
    return {{std::make_shared<const ParagraphState>()}};
}

QString DocumentSnapshot::plainText() const
{
    QString text;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += paragraphs[i]->text;
    }
    return text;
}

namespace {

bool same(const ParagraphPtr &a, const ParagraphPtr &b)
{
    return a == b || a->sameContent(*b);
}

// Pairs the lists of one paragraph sequence with those of another. Two
// sequences group their list paragraphs alike when every pair of paragraphs
// matched so far maps list to list one-to-one.
class ListPairing {
public:
    // False when pairing `a` with `b` would join two lists or split one.
    bool pair(const ParagraphState &a, const ParagraphState &b)
    {
        if (!a.inList || !b.inList)
            return a.inList == b.inList;
        const auto forward = m_forward.constFind(a.listId);
        const auto backward = m_backward.constFind(b.listId);
        if (forward != m_forward.cend() || backward != m_backward.cend())
            return forward != m_forward.cend() && backward != m_backward.cend() &&
                   *forward == b.listId && *backward == a.listId;
        m_forward.insert(a.listId, b.listId);
        m_backward.insert(b.listId, a.listId);
        return true;
    }

private:
    QHash<int, int> m_forward;
    QHash<int, int> m_backward;
};

} // namespace

bool DocumentSnapshot::sameContent(const DocumentSnapshot &other) const
{
    if (paragraphs.size() != other.paragraphs.size())
        return false;
    ListPairing lists;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (!same(paragraphs[i], other.paragraphs[i]) ||
            !lists.pair(*paragraphs[i], *other.paragraphs[i]))
            return false;
    }
    return true;
}

DocumentMirror::DocumentMirror(const QTextDocument *document) : m_document(document)
{
    rebuild();
}

ParagraphPtr DocumentMirror::capture(const QTextBlock &block)
{
    auto state = std::make_shared<ParagraphState>();
    state->text = block.text();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        state->runs.append({fragment.length(), fragment.charFormat()});
    }
    QTextBlockFormat format = block.blockFormat();
    format.clearProperty(QTextFormat::ObjectIndex);
    state->blockFormat = format;
    state->blockCharFormat = block.charFormat();
    if (QTextList *list = block.textList()) {
        state->inList = true;
        state->listFormat = list->format();
        state->listId = list->objectIndex();
    }
    return state;
}

void DocumentMirror::rebuild()
{
    m_paragraphs.clear();
    m_paragraphs.reserve(m_document->blockCount());
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
        m_paragraphs.append(capture(block));
}

void DocumentMirror::contentsChanged(int position, int removed, int added)
{
    const QTextBlock firstBlock = m_document->findBlock(position);
    if (!firstBlock.isValid() || m_paragraphs.isEmpty()) {
        rebuild();
        return;
    }
    const int first = firstBlock.blockNumber();
    if (first >= m_paragraphs.size()) {
        rebuild();
        return;
    }
    // Everything before `position` is unchanged, so the old paragraph `first`
    // started where the new one does; walk the old lengths to the paragraph
    // that held the end of the removed stretch.
    const int oldEnd = position + removed;
    int oldLast = first;
    int start = firstBlock.position();
    while (oldLast + 1 < m_paragraphs.size()) {
        const int length = int(m_paragraphs[oldLast]->text.size()) + 1;
        if (start + length > oldEnd)
            break;
        start += length;
        ++oldLast;
    }
    QTextBlock lastBlock = m_document->findBlock(position + added);
    if (!lastBlock.isValid())
        lastBlock = m_document->lastBlock();
    const int newLast = lastBlock.blockNumber();

    QList<ParagraphPtr> fresh;
    fresh.reserve(newLast - first + 1);
    int index = 0;
    for (QTextBlock block = firstBlock; block.isValid() && block.blockNumber() <= newLast;
         block = block.next(), ++index) {
        auto state = capture(block);
        // A change of formatting alone keeps the text: share it with the old one.
        const int old = first + index;
        if (old <= oldLast && m_paragraphs[old]->text == state->text)
            std::const_pointer_cast<ParagraphState>(state)->text = m_paragraphs[old]->text;
        fresh.append(std::move(state));
    }
    m_paragraphs.remove(first, oldLast - first + 1);
    m_paragraphs.insert(first, fresh.size(), ParagraphPtr());
    std::move(fresh.begin(), fresh.end(), m_paragraphs.begin() + first);
    if (m_paragraphs.size() != m_document->blockCount())
        rebuild();
}

bool DocumentMirror::matchesDocument() const
{
    DocumentMirror fresh(m_document);
    return fresh.snapshot().sameContent(snapshot());
}

int DocumentMirror::restore(QTextDocument *document, const DocumentSnapshot &current,
                            const DocumentSnapshot &target)
{
    const QList<ParagraphPtr> &now = current.paragraphs;
    const QList<ParagraphPtr> &want =
        target.paragraphs.isEmpty() ? DocumentSnapshot::empty().paragraphs : target.paragraphs;
    const qsizetype n = now.size();
    const qsizetype m = want.size();
    if (n != document->blockCount() || n == 0)
        return -1;
    // Paragraphs kept at either end must also keep their lists: the pairing
    // stops the kept stretch where the target groups them otherwise.
    ListPairing pairing;
    qsizetype prefix = 0;
    while (prefix < n && prefix < m && same(now[prefix], want[prefix]) &&
           pairing.pair(*now[prefix], *want[prefix]))
        ++prefix;
    if (prefix == n && prefix == m)
        return -1;
    qsizetype suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix &&
           same(now[n - 1 - suffix], want[m - 1 - suffix]) &&
           pairing.pair(*now[n - 1 - suffix], *want[m - 1 - suffix]))
        ++suffix;
    // Rewrite at least one paragraph on each side, so that the edit is always
    // "replace paragraphs a..b by paragraphs c..d" with neither side empty.
    if (prefix == n - suffix || prefix == m - suffix) {
        if (prefix > 0)
            --prefix;
        else
            --suffix;
    }
    // The lists that kept paragraphs stay in, by the target's list identity:
    // rewritten paragraphs of the same target list join them, so a list
    // interrupted by the rewritten stretch (or by plain paragraphs) stays one
    // list and keeps counting. Kept paragraphs keep their list objects.
    QHash<int, QTextList *> lists;
    const auto keepList = [&](qsizetype wantIndex, qsizetype blockNumber) {
        if (!want[wantIndex]->inList || lists.contains(want[wantIndex]->listId))
            return;
        if (QTextList *list = document->findBlockByNumber(int(blockNumber)).textList())
            lists.insert(want[wantIndex]->listId, list);
    };
    for (qsizetype k = 0; k < prefix; ++k)
        keepList(k, k);
    for (qsizetype k = 0; k < suffix; ++k)
        keepList(m - 1 - k, n - 1 - k);

    const QTextBlock firstBlock = document->findBlockByNumber(int(prefix));
    const QTextBlock lastBlock = document->findBlockByNumber(int(n - suffix - 1));
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    // The removal deletes the paragraphs before lastBlock, which takes the
    // first one's place. They leave their lists first, from the last one on:
    // Qt's own removal of a list item costs the length of its list.
    for (QTextBlock block = lastBlock; block != firstBlock;) {
        block = block.previous();
        if (QTextList *list = block.textList())
            removeListItem(list, block);
    }
    cursor.setPosition(firstBlock.position());
    cursor.setPosition(lastBlock.position() + lastBlock.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    for (qsizetype k = prefix; k < m - suffix; ++k) {
        const ParagraphState &p = *want[k];
        if (k == prefix) {
            cursor.setBlockFormat(p.blockFormat);
            cursor.setBlockCharFormat(p.blockCharFormat);
        } else {
            cursor.insertBlock(p.blockFormat, p.blockCharFormat);
        }
        if (p.inList) {
            if (QTextList *list = lists.value(p.listId))
                addListItem(list, cursor.block());
            else
                lists.insert(p.listId, cursor.createList(p.listFormat));
        }
        qsizetype offset = 0;
        for (const ParagraphState::Run &run : p.runs) {
            cursor.insertText(p.text.mid(offset, run.length), run.format);
            offset += run.length;
        }
    }
    cursor.endEditBlock();
    return cursor.position();
}

} // namespace quillory
