#include "rtf/rtf_tokenizer.h"

#include <algorithm>
#include <limits>

namespace quillory {
namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfToken tokenOf(RtfToken::Type type)
{
    RtfToken token;
    token.type = type;
    return token;
}

// Control words longer than this are malformed; the rest of the letters is dropped.
constexpr qsizetype kMaxWordLength = 32;

} // namespace

RtfToken RtfTokenizer::next()
{
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        if (c == '{') {
            ++m_pos;
            return tokenOf(RtfToken::Type::GroupStart);
        }
        if (c == '}') {
            ++m_pos;
            return tokenOf(RtfToken::Type::GroupEnd);
        }
        if (c == '\\') {
            if (std::optional<RtfToken> token = readControl())
                return *token;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++m_pos;
            continue;
        }
        return readText();
    }
    return {};
}

RtfToken RtfTokenizer::readText()
{
    const qsizetype start = m_pos;
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    RtfToken token = tokenOf(RtfToken::Type::Text);
    token.word = m_data.sliced(start, m_pos - start);
    return token;
}

std::optional<RtfToken> RtfTokenizer::readControl()
{
    ++m_pos; // backslash
    if (m_pos >= m_data.size())
        return RtfToken{};
    const char first = m_data[m_pos];
    if (!isLetter(first)) {
        ++m_pos;
        if (first == '\'') {
            int high = m_pos < m_data.size() ? hexValue(m_data[m_pos]) : -1;
            int low = m_pos + 1 < m_data.size() ? hexValue(m_data[m_pos + 1]) : -1;
            if (high < 0 || low < 0)
                return std::nullopt; // broken escape: drop it
            m_pos += 2;
            RtfToken token = tokenOf(RtfToken::Type::HexByte);
            token.byte = static_cast<unsigned char>(high * 16 + low);
            return token;
        }
        RtfToken token = tokenOf(RtfToken::Type::ControlSymbol);
        token.symbol = first == '\r' || first == '\n' ? '\n' : first;
        return token;
    }

    const qsizetype start = m_pos;
    while (m_pos < m_data.size() && isLetter(m_data[m_pos]))
        ++m_pos;
    RtfToken token = tokenOf(RtfToken::Type::ControlWord);
    token.word = m_data.sliced(start, std::min(m_pos - start, kMaxWordLength));

    bool negative = false;
    if (m_pos + 1 < m_data.size() && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
        long long value = 0;
        constexpr long long limit = std::numeric_limits<int>::max();
        while (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
            value = std::min(limit, value * 10 + (m_data[m_pos] - '0'));
            ++m_pos;
        }
        token.hasParameter = true;
        token.parameter = static_cast<int>(negative ? -value : value);
    }
    if (m_pos < m_data.size() && m_data[m_pos] == ' ')
        ++m_pos; // the delimiting space belongs to the control word

    if (token.word == "bin") {
        skipBinary(token.hasParameter ? token.parameter : 0);
        return std::nullopt;
    }
    return token;
}

void RtfTokenizer::skipBinary(int length)
{
    if (length > 0)
        m_pos += std::min<qsizetype>(length, m_data.size() - m_pos);
}

} // namespace quillory
