#include "rtf/code_page.h"

#include <QStringDecoder>

namespace quillory {
namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1 controls
// of the same value, as Windows itself does.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const char *decoderName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char byte : bytes)
        *out++ = QChar(CodePage::windows1252Char(static_cast<unsigned char>(byte)));
    return text;
}

// Symbol-font text: the bullet is the one character that matters in practice.
QString decodeSymbol(QByteArrayView bytes)
{
    QString text = decodeWindows1252(bytes);
    text.replace(QChar(0x00B7), QChar(0x2022));
    return text;
}

} // namespace

int CodePage::forCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 2:
        return Symbol;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return documentCodePage;
    }
}

QString CodePage::decode(QByteArrayView bytes, int codePage)
{
    if (codePage == Symbol)
        return decodeSymbol(bytes);
    const char *name = codePage == Windows1252 ? nullptr : decoderName(codePage);
    if (name) {
        QStringDecoder decoder(name);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return decodeWindows1252(bytes);
}

int CodePage::windows1252Byte(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

char16_t CodePage::windows1252Char(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

} // namespace quillory
