#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillory {

// Windows code page numbers as RTF names them (\ansicpg, \cpg, \fcharset).
namespace CodePage {
constexpr int Windows1252 = 1252;
constexpr int Symbol = 42;

// Code page of an RTF font charset; charsets 0 (ANSI) and 1 (default) mean the
// document's own code page.
int forCharset(int charset, int documentCodePage);

// Decodes 8-bit text; unknown code pages fall back to Windows-1252 so nothing is lost.
QString decode(QByteArrayView bytes, int codePage);

// The Windows-1252 byte for a character, or -1 when it has none.
int windows1252Byte(char16_t ch);

// Windows-1252 character for one byte.
char16_t windows1252Char(unsigned char byte);
} // namespace CodePage

} // namespace quillory
