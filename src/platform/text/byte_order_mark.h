#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <optional>

namespace quillory {

// UTF-16 text as Notepad's "Unicode" writes it: a byte order mark, then the
// text in that order. Nothing when the bytes do not start with such a mark.
inline std::optional<QString> decodeUtf16ByByteOrderMark(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2));
    return std::nullopt;
}

} // namespace quillory
