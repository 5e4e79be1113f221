#pragma once

#include <QHash>
#include <QString>
#include <QTextListFormat>

class QTextBlock;
class QTextList;

namespace quillory {

// Lists hold up to nine levels, as in RTF; QTextListFormat::indent() is the level + 1.
constexpr int kListLevels = 9;

// The list level of a format: 0 for the outermost list, at most kListLevels - 1.
int listLevel(const QTextListFormat &format);
void setListLevel(QTextListFormat &format, int level);

// The number of a list's first item (1 when the list sets none). Qt renders it
// only from 6.6 on; older versions keep it as a property so it survives a save.
int listStart(const QTextListFormat &format);
void setListStart(QTextListFormat &format, int start);

bool isNumberedList(QTextListFormat::Style style);

// Name of a list style as tools and tests print it: "disc", "decimal",
// "lower-alpha", ...; "none" for ListStyleUndefined.
QString listStyleName(QTextListFormat::Style style);

// The text after a number: the list's own suffix, or "." as Qt draws it.
QString listNumberSuffix(const QTextListFormat &format);

// The marker of a list item as a reader sees it: "3.", "c)", "iv.", or the
// bullet character. Empty for a block outside a list. It finds the item's
// number among the list's items, so a walk over a document's blocks should use
// ListMarkers instead.
QString listMarker(const QTextBlock &block);

// The markers of a document's list items, as listMarker gives them, for a walk
// over its blocks from the first: each is found by counting the items the walk
// has passed, so a whole walk costs time in proportion to the document.
class ListMarkers {
public:
    // Ask for the blocks of one document in order; those outside lists may be left out.
    QString next(const QTextBlock &block);

private:
    struct List {
        int itemsSeen = 0;
        QTextListFormat::Style style = QTextListFormat::ListDisc;
        int start = 1;
        QString prefix; // the bullet, for bullet lists
        QString suffix;
    };
    QHash<const QTextList *, List> m_lists;
};

// A number in the given numbering style: 28 is "28", "bb", "BB", "xxviii" or
// "XXVIII". Letters repeat after z as word processors count them (aa, bb, ...);
// roman numerals past 3999 and numbers below 1 fall back to digits.
QString formatListNumber(int number, QTextListFormat::Style style);

// The bullet character drawn for a bullet style.
QChar bulletCharacter(QTextListFormat::Style style);

} // namespace quillory
