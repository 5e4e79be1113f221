#include "rtf/list_append.h"

#include <QTextBlock>
#include <QTextList>

#include <atomic>

#ifdef QUILLORY_QT_PRIVATE_TEXT
#include <QtGui/private/qtextdocument_p.h>
#include <QtGui/private/qtextobject_p.h>

#include <utility>
#endif

namespace quillory {
namespace {

std::atomic<qint64> itemsMarked{0};

void countMarked(qint64 items)
{
    itemsMarked.fetch_add(items, std::memory_order_relaxed);
}

#ifdef QUILLORY_QT_PRIVATE_TEXT
// QTextList::add and remove set the block's format; the list, told of it
// (QTextBlockGroup::blockInserted, blockRemoved), files the block among its
// items or searches them for it, then marks each item changed. For that call
// it is given a stand-in for its items, holding the block and, for a removal,
// a neighbour so that it does not find itself empty and go; its own items are
// then put right here, and only those whose numbers changed are marked.
class ListItems {
public:
    explicit ListItems(QTextList *list)
        : m_document(QTextDocumentPrivate::get(list)),
          m_items(static_cast<QTextBlockGroupPrivate *>(QObjectPrivate::get(list))->blocks)
    {
        // Inside an edit block, so that nothing the change signals reach sees
        // the list with the stand-in.
        m_document->beginEditBlock();
    }
    ~ListItems() { m_document->endEditBlock(); }

    // Where the block is among the items, or would be: counted from the end.
    qsizetype place(const QTextBlock &block) const
    {
        const int position = block.position();
        qsizetype index = m_items.size();
        while (index > 0 && !(m_items.at(index - 1).position() < position))
            --index;
        return index;
    }

    // Calls Qt's add or remove with the stand-in list of items in place.
    template <typename Change>
    void withStandIn(QTextBlockGroupPrivate::BlockList standIn, Change change)
    {
        QTextBlockGroupPrivate::BlockList items = std::exchange(m_items, std::move(standIn));
        change();
        m_items = std::move(items);
    }

    // Marks the items from `index` on as changed (their numbers moved).
    qsizetype markFrom(qsizetype index)
    {
        for (qsizetype i = index; i < m_items.size(); ++i)
            m_document->documentChange(m_items.at(i).position(), m_items.at(i).length());
        return m_items.size() - index;
    }

    QTextBlockGroupPrivate::BlockList &items() { return m_items; }

private:
    QTextDocumentPrivate *m_document;
    QTextBlockGroupPrivate::BlockList &m_items;
};
#endif

} // namespace

void addListItem(QTextList *list, const QTextBlock &block)
{
    if (!list || !block.isValid() || block.textList() == list)
        return;
#ifdef QUILLORY_QT_PRIVATE_TEXT
    if (list->count() > 0) {
        ListItems items(list);
        const qsizetype index = items.place(block);
        items.withStandIn({}, [&] { list->add(block); });
        items.items().insert(index, block);
        countMarked(1 + items.markFrom(index + 1));
        return;
    }
#endif
    countMarked(list->count() + 1);
    list->add(block);
}

void removeListItem(QTextList *list, const QTextBlock &block)
{
    if (!list || !block.isValid() || block.textList() != list)
        return;
#ifdef QUILLORY_QT_PRIVATE_TEXT
    if (list->count() > 1) {
        ListItems items(list);
        const qsizetype index = items.place(block);
        if (index < items.items().size() && items.items().at(index) == block) {
            // One after it if there is one: that is marked anyway.
            const qsizetype other = index + 1 < items.items().size() ? index + 1 : index - 1;
            const QTextBlock neighbour = items.items().at(other);
            items.withStandIn({neighbour, block}, [&] { list->remove(block); });
            items.items().remove(index);
            countMarked(1 + items.markFrom(index));
            return;
        }
    }
#endif
    countMarked(list->count());
    list->remove(block);
}

qint64 listItemsMarkedChanged()
{
    return itemsMarked.load(std::memory_order_relaxed);
}

} // namespace quillory
