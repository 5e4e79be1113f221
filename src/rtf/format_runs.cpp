#include "rtf/format_runs.h"

#include "rtf/list_numbering.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <cmath>

namespace quillory {
namespace {

RunAlignment runAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return RunAlignment::Center;
    if (alignment & Qt::AlignJustify)
        return RunAlignment::Justify;
    if (alignment & Qt::AlignRight)
        return RunAlignment::Right;
    return RunAlignment::Left;
}

QString alignmentName(RunAlignment alignment)
{
    switch (alignment) {
    case RunAlignment::Center:
        return QStringLiteral("center");
    case RunAlignment::Right:
        return QStringLiteral("right");
    case RunAlignment::Justify:
        return QStringLiteral("justify");
    case RunAlignment::Left:
        break;
    }
    return QStringLiteral("left");
}

QString familyOf(const QTextCharFormat &format, const QTextDocument &doc)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = format.stringProperty(QTextFormat::FontFamily);
    return family.isEmpty() ? doc.defaultFont().family() : family;
}

struct BlockList {
    QTextListFormat::Style style = QTextListFormat::ListStyleUndefined;
    int level = 0;
    QString marker;
    int index = -1;
};

FormatRun runFor(const QTextCharFormat &format, const QTextBlock &block, const BlockList &list,
                 const QTextDocument &doc)
{
    FormatRun run;
    run.bold = isBoldWeight(format.fontWeight());
    run.italic = format.fontItalic();
    run.underline = format.fontUnderline();
    run.strike = format.fontStrikeOut();
    run.fontFamily = familyOf(format, doc);
    run.pointSize =
        format.fontPointSize() > 0 ? format.fontPointSize() : doc.defaultFont().pointSizeF();
    if (format.foreground().style() != Qt::NoBrush)
        run.colour = format.foreground().color();
    run.alignment = runAlignment(block.blockFormat().alignment());
    run.listStyle = list.style;
    run.listLevel = list.level;
    run.listMarker = list.marker;
    run.listIndex = list.index;
    return run;
}

void appendRun(QList<FormatRun> &runs, FormatRun run)
{
    if (!runs.isEmpty() && runs.last().sameFormat(run))
        runs.last().text += run.text;
    else
        runs.append(std::move(run));
}

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (QChar ch : text) {
        switch (ch.unicode()) {
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case 0x2028:
            out += QLatin1String("\\u2028");
            break;
        default:
            if (ch.unicode() < 0x20)
                out += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += ch;
        }
    }
    return out;
}

} // namespace

bool FormatRun::sameFormat(const FormatRun &other) const
{
    return bold == other.bold && italic == other.italic && underline == other.underline &&
           strike == other.strike && fontFamily == other.fontFamily &&
           qFuzzyCompare(pointSize, other.pointSize) && colour == other.colour &&
           alignment == other.alignment && listStyle == other.listStyle &&
           listLevel == other.listLevel && listMarker == other.listMarker &&
           listIndex == other.listIndex;
}

QList<FormatRun> formatRuns(const QTextDocument &doc)
{
    QList<FormatRun> runs;
    QHash<const QTextList *, BlockList> lists; // each list's style, level and index
    ListMarkers markers;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        BlockList list;
        if (const QTextList *textList = block.textList()) {
            auto known = lists.constFind(textList);
            if (known == lists.constEnd()) {
                const QTextListFormat format = textList->format();
                BlockList first;
                first.style = format.style();
                first.level = listLevel(format);
                first.index = int(lists.size());
                known = lists.insert(textList, first);
            }
            list = *known;
            list.marker = markers.next(block);
        }
        QTextCharFormat lastFormat = block.charFormat();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            FormatRun run = runFor(fragment.charFormat(), block, list, doc);
            run.text = fragment.text();
            lastFormat = fragment.charFormat();
            appendRun(runs, std::move(run));
        }
        const bool lastBlock = !block.next().isValid();
        if (!lastBlock || block.length() == 1) {
            FormatRun end = runFor(lastFormat, block, list, doc);
            if (!lastBlock)
                end.text = QStringLiteral("\n");
            appendRun(runs, std::move(end));
        }
    }
    return runs;
}

QString describeRun(const FormatRun &run)
{
    // Concatenated rather than built with arg(), so "%1" in the text stays as it is.
    const QString colour =
        run.colour.isValid() ? run.colour.name(QColor::HexRgb) : QStringLiteral("auto");
    return QLatin1Char('"') + escaped(run.text) + QLatin1String("\" bold=") +
           QString::number(int(run.bold)) + QLatin1String(" italic=") +
           QString::number(int(run.italic)) + QLatin1String(" underline=") +
           QString::number(int(run.underline)) + QLatin1String(" strike=") +
           QString::number(int(run.strike)) + QLatin1String(" font=\"") + escaped(run.fontFamily) +
           QLatin1String("\" size=") + QString::number(run.pointSize) + QLatin1String(" colour=") +
           colour + QLatin1String(" align=") + alignmentName(run.alignment) +
           QLatin1String(" list=") + listStyleName(run.listStyle) +
           (run.inList()
                ? QLatin1String(" level=") + QString::number(run.listLevel) +
                      QLatin1String(" marker=\"") + escaped(run.listMarker) + QLatin1Char('"')
                : QString());
}

} // namespace quillory
