#include "dialogs/show_color.h"

#include "platform/services/color_dialogs.h"

#include <array>

namespace quillory {

QRgb ShowColor::toQRgb(std::uint32_t value)
{
    return qRgb(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::uint32_t ShowColor::fromQRgb(QRgb rgb)
{
    return std::uint32_t(qRed(rgb)) | (std::uint32_t(qGreen(rgb)) << 8) |
           (std::uint32_t(qBlue(rgb)) << 16);
}

void ShowColor::setCustomColors(const QByteArray &block)
{
    m_custom = block.left(64).leftJustified(64, ' ');
}

void ShowColor::Show()
{
    std::array<QRgb, 16> custom{};
    for (size_t i = 0; i < custom.size(); ++i) {
        const auto byte = [&](size_t k) {
            return std::uint32_t(quint8(m_custom[qsizetype(i * 4 + k)]));
        };
        custom[i] = toQRgb(byte(0) | (byte(1) << 8) | (byte(2) << 16));
    }
    QRgb colour = toQRgb(RGBResult);
    if (!m_dialogs || !m_dialogs->choose(hOwner, colour, custom)) {
        m_cancelled = true;
        return;
    }
    m_cancelled = false;
    RGBResult = fromQRgb(colour);
    for (size_t i = 0; i < custom.size(); ++i) {
        const std::uint32_t value = fromQRgb(custom[i]);
        m_custom[qsizetype(i * 4)] = char(value & 0xFF);
        m_custom[qsizetype(i * 4 + 1)] = char((value >> 8) & 0xFF);
        m_custom[qsizetype(i * 4 + 2)] = char((value >> 16) & 0xFF);
        m_custom[qsizetype(i * 4 + 3)] = '\0';
    }
}

} // namespace quillory
