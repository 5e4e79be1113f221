#include "rtf/plain_text.h"

#include "platform/text/byte_order_mark.h"
#include "rtf/code_page.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

namespace quillory {

bool isUnwantedCharacter(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c < 0x20 && c != u'\t') || c == QChar::ParagraphSeparator ||
           c == QChar::ObjectReplacementCharacter || c == 0xFDD0 || c == 0xFDD1;
}

QString withoutUnwantedCharacters(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar ch : text) {
        if (!isUnwantedCharacter(ch))
            clean += ch;
    }
    return clean;
}

QString decodePlainText(const QByteArray &data)
{
    QByteArrayView bytes(data);
    if (std::optional<QString> utf16 = decodeUtf16ByByteOrderMark(bytes))
        return *utf16;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return CodePage::decode(bytes, CodePage::Windows1252);
}

void readPlainText(const QByteArray &data, QTextDocument *doc)
{
    QString text = decodePlainText(data);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    text.removeIf([](QChar ch) { return ch != u'\n' && isUnwantedCharacter(ch); });
    const bool undoEnabled = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->setPlainText(text);
    doc->setUndoRedoEnabled(undoEnabled);
}

QByteArray toPlainTextFile(const QTextDocument &doc)
{
    QString text;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        text += block.text();
        text += QLatin1String("\r\n");
    }
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    text.remove(QChar::ObjectReplacementCharacter);
    return text.toUtf8();
}

} // namespace quillory
