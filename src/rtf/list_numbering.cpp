#include "rtf/list_numbering.h"

#include <QTextBlock>
#include <QTextList>

#include <algorithm>

namespace quillory {
namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 6, 0)
// Where Qt 6.6 keeps QTextListFormat::start(), so files saved before an upgrade read the same.
constexpr int kListStartProperty = 0x3004;
#endif

QString romanNumeral(int number)
{
    static const struct {
        int value;
        const char *digits;
    } parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                 {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                 {5, "v"},    {4, "iv"},   {1, "i"}};
    QString text;
    for (const auto &part : parts) {
        while (number >= part.value) {
            text += QLatin1String(part.digits);
            number -= part.value;
        }
    }
    return text;
}

} // namespace

int listLevel(const QTextListFormat &format)
{
    return std::clamp(format.indent() - 1, 0, kListLevels - 1);
}

void setListLevel(QTextListFormat &format, int level)
{
    format.setIndent(std::clamp(level, 0, kListLevels - 1) + 1);
}

int listStart(const QTextListFormat &format)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    return format.start();
#else
    return format.hasProperty(kListStartProperty) ? format.intProperty(kListStartProperty) : 1;
#endif
}

void setListStart(QTextListFormat &format, int start)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    format.setStart(start);
#else
    format.setProperty(kListStartProperty, start);
#endif
}

bool isNumberedList(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        return true;
    default:
        return false;
    }
}

QString listStyleName(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
        return QStringLiteral("disc");
    case QTextListFormat::ListCircle:
        return QStringLiteral("circle");
    case QTextListFormat::ListSquare:
        return QStringLiteral("square");
    case QTextListFormat::ListDecimal:
        return QStringLiteral("decimal");
    case QTextListFormat::ListLowerAlpha:
        return QStringLiteral("lower-alpha");
    case QTextListFormat::ListUpperAlpha:
        return QStringLiteral("upper-alpha");
    case QTextListFormat::ListLowerRoman:
        return QStringLiteral("lower-roman");
    case QTextListFormat::ListUpperRoman:
        return QStringLiteral("upper-roman");
    default:
        return QStringLiteral("none");
    }
}

QString formatListNumber(int number, QTextListFormat::Style style)
{
    if (number < 1)
        return QString::number(number);
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha: {
        if (number > 26 * 100) // beyond any real list; keeps the marker short
            return QString::number(number);
        const QChar letter((style == QTextListFormat::ListUpperAlpha ? u'A' : u'a') +
                           char16_t((number - 1) % 26));
        return QString((number - 1) / 26 + 1, letter);
    }
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: {
        if (number > 3999)
            return QString::number(number);
        const QString roman = romanNumeral(number);
        return style == QTextListFormat::ListUpperRoman ? roman.toUpper() : roman;
    }
    default:
        return QString::number(number);
    }
}

QChar bulletCharacter(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return QChar(0x25E6);
    case QTextListFormat::ListSquare:
        return QChar(0x25AA);
    default:
        return QChar(0x2022);
    }
}

QString listMarker(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return QString();
    const QTextListFormat format = list->format();
    if (!isNumberedList(format.style()))
        return QString(bulletCharacter(format.style()));
    const int number = listStart(format) + list->itemNumber(block);
    return format.numberPrefix() + formatListNumber(number, format.style()) +
           listNumberSuffix(format);
}

QString ListMarkers::next(const QTextBlock &block)
{
    const QTextList *textList = block.textList();
    if (!textList)
        return QString();
    auto list = m_lists.find(textList);
    if (list == m_lists.end()) {
        const QTextListFormat format = textList->format();
        List first;
        first.style = format.style();
        if (isNumberedList(first.style)) {
            first.start = listStart(format);
            first.prefix = format.numberPrefix();
            first.suffix = listNumberSuffix(format);
        } else {
            first.prefix = QString(bulletCharacter(first.style));
        }
        list = m_lists.insert(textList, first);
    }
    const int item = list->itemsSeen++;
    if (!isNumberedList(list->style))
        return list->prefix;
    return list->prefix + formatListNumber(list->start + item, list->style) + list->suffix;
}

QString listNumberSuffix(const QTextListFormat &format)
{
    // Qt draws "." when a list sets no suffix of its own.
    return format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                             : QStringLiteral(".");
}

} // namespace quillory
