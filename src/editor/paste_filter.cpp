#include "editor/paste_filter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace quillory {
namespace {

// The file stores sizes in half points between 1 and 1638 points.
qreal savablePointSize(qreal points)
{
    return std::clamp(std::round(points * 2) / 2, 1.0, 1638.0);
}

QTextBlockFormat savableBlockFormat(const QTextBlockFormat &format)
{
    QTextBlockFormat out;
    if (!format.hasProperty(QTextFormat::BlockAlignment))
        return out;
    const Qt::Alignment a = format.alignment();
    if (a & Qt::AlignHCenter)
        out.setAlignment(Qt::AlignHCenter);
    else if (a & Qt::AlignJustify)
        out.setAlignment(Qt::AlignJustify);
    else if (a & Qt::AlignRight)
        out.setAlignment(Qt::AlignRight);
    else
        out.setAlignment(Qt::AlignLeft);
    return out;
}

// Text the file cannot hold (object placeholders for pictures, control
// characters other than the tab) is left out.
QString savableText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (ch == QChar::ObjectReplacementCharacter || ch == QChar(0xFFFD))
            continue;
        if (ch.unicode() < 0x20 && ch != QLatin1Char('\t'))
            continue;
        out += ch;
    }
    return out;
}

bool continuesTableRow(const QTextBlock &block)
{
    QTextCursor cursor(block);
    QTextTable *table = cursor.currentTable();
    if (!table)
        return false;
    const QTextTableCell cell = table->cellAt(block.position());
    return cell.isValid() && cell.column() > 0 && cell.firstPosition() == block.position();
}

} // namespace

QString savablePlainText(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString out;
    out.reserve(lines.size());
    const QStringList parts = lines.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('\n');
        out += savableText(parts[i]);
    }
    return out;
}

QTextCharFormat savableCharFormat(const QTextCharFormat &format, const QTextDocument &document)
{
    QTextCharFormat out;
    if (format.hasProperty(QTextFormat::FontWeight))
        out.setFontWeight(format.fontWeight() > QFont::Medium ? QFont::Bold : QFont::Normal);
    if (format.hasProperty(QTextFormat::FontItalic))
        out.setFontItalic(format.fontItalic());
    // Any underline style (wave, dots, ...) becomes the single line the file has.
    if (format.hasProperty(QTextFormat::TextUnderlineStyle) ||
        format.hasProperty(QTextFormat::FontUnderline))
        out.setFontUnderline(format.fontUnderline() ||
                             format.underlineStyle() != QTextCharFormat::NoUnderline);
    if (format.hasProperty(QTextFormat::FontStrikeOut))
        out.setFontStrikeOut(format.fontStrikeOut());
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        out.setFontFamilies({families.first()});
    else if (!format.stringProperty(QTextFormat::FontFamily).isEmpty())
        out.setFontFamilies({format.stringProperty(QTextFormat::FontFamily)});

    const qreal base = document.defaultFont().pointSizeF();
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
        out.setFontPointSize(savablePointSize(format.fontPointSize()));
    } else if (format.hasProperty(QTextFormat::FontPixelSize) &&
               format.intProperty(QTextFormat::FontPixelSize) > 0) {
        out.setFontPointSize(
            savablePointSize(format.intProperty(QTextFormat::FontPixelSize) * 0.75));
    } else if (format.hasProperty(QTextFormat::FontSizeAdjustment) &&
               format.intProperty(QTextFormat::FontSizeAdjustment) != 0 && base > 0) {
        // The steps of the rich-text importer (small ... xx-large, h1 ... h6).
        static const qreal factors[] = {0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
        const int step = std::clamp(format.intProperty(QTextFormat::FontSizeAdjustment), -1, 4) + 1;
        out.setFontPointSize(savablePointSize(base * factors[step]));
    }
    if (format.foreground().style() != Qt::NoBrush)
        out.setForeground(QColor(format.foreground().color().rgb()));
    return out;
}

QTextDocumentFragment keepSavableContent(const QTextDocumentFragment &pasted)
{
    QTextDocument source;
    QTextCursor(&source).insertFragment(pasted);
    QTextDocument out;
    out.setDefaultFont(source.defaultFont());
    QTextCursor cursor(&out);
    bool first = true;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat blockChars = savableCharFormat(block.charFormat(), source);
        const bool sameRow = !first && continuesTableRow(block);
        if (sameRow) {
            cursor.insertText(QStringLiteral("\t"), blockChars);
        } else if (first) {
            cursor.setBlockFormat(savableBlockFormat(block.blockFormat()));
            cursor.setBlockCharFormat(blockChars);
        } else {
            cursor.insertBlock(savableBlockFormat(block.blockFormat()), blockChars);
        }
        first = false;
        if (block.textList() && !cursor.block().textList()) {
            const QTextBlock previous = cursor.block().previous();
            if (previous.isValid() && previous.textList())
                previous.textList()->add(cursor.block());
            else
                cursor.createList(QTextListFormat::ListDisc);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString text = savableText(fragment.text());
            if (!text.isEmpty())
                cursor.insertText(text, savableCharFormat(fragment.charFormat(), source));
        }
    }
    return QTextDocumentFragment(&out);
}

} // namespace quillory
