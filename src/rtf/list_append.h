#pragma once

#include <QtGlobal>

class QTextBlock;
class QTextList;

namespace quillory {

// Make `block` an item of `list` and take it out again, as QTextList::add and
// QTextList::remove do. Qt's own marks every item of the list as changed (and
// remove searches them all), so a list built or emptied item by item costs the
// square of its length: seconds for 8,000 items. These mark the block and the
// items after it, whose numbers change: adding a document's items from its
// start, or removing them from its end, costs the same for every item.
void addListItem(QTextList *list, const QTextBlock &block);
void removeListItem(QTextList *list, const QTextBlock &block);

// How many list items the calls above have marked as changed so far, in every
// document and thread: a count of their work, for tests that check it stays in
// proportion to the items added or removed. Without Qt's private headers
// (qt6-base-private-dev) at build time both are Qt's own, which mark the whole list.
qint64 listItemsMarkedChanged();

} // namespace quillory
