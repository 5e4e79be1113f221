#pragma once

#include <QByteArrayView>

#include <optional>

namespace quillory {

struct RtfToken {
    enum class Type { End, GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text };

    Type type = Type::End;
    QByteArrayView word; // ControlWord: the name; Text: the bytes
    int parameter = 0;   // ControlWord parameter, clamped to the int range
    bool hasParameter = false;
    char symbol = 0;        // ControlSymbol character
    unsigned char byte = 0; // HexByte value
};

// Splits RTF into tokens in one pass. Never reads past the data, skips \binN
// payloads by itself, and treats truncated constructs as the end of input.
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView data) : m_data(data) {}

    RtfToken next();

private:
    std::optional<RtfToken> readControl(); // nothing for dropped input
    RtfToken readText();
    void skipBinary(int length);

    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

} // namespace quillory
