#include "pedal_models.h"

#include <QStringList>

namespace quillory {

std::optional<PedalState> PedalModel::decode(const QByteArray &report) const
{
    int index = stateByte;
    if (reportId >= 0) {
        if (report.isEmpty() || static_cast<std::uint8_t>(report.at(0)) != reportId)
            return std::nullopt;
        ++index;
    }
    if (index < 0 || index >= report.size())
        return std::nullopt;
    const auto bits = static_cast<std::uint8_t>(report.at(index));
    PedalState state = 0;
    if (leftMask && (bits & leftMask))
        state |= PedalLeft;
    if (middleMask && (bits & middleMask))
        state |= PedalMiddle;
    if (rightMask && (bits & rightMask))
        state |= PedalRight;
    return state;
}

const QList<PedalModel> &PedalModels::builtIn()
{
    // Philips controls have a fourth pedal (bit 0x08) that the transcription
    // mapping leaves unused.
    static const QList<PedalModel> models = {
        {QStringLiteral("VEC Infinity IN-USB-1/2/3"), 0x05f3, 0x00ff, -1, 0, 0x01, 0x02, 0x04},
        {QStringLiteral("Olympus RS27"), 0x07b4, 0x0202, -1, 0, 0x01, 0x04, 0x02},
        {QStringLiteral("Olympus RS28"), 0x07b4, 0x0218, -1, 0, 0x01, 0x04, 0x02},
        {QStringLiteral("Olympus RS31"), 0x07b4, 0x0203, -1, 0, 0x01, 0x04, 0x02},
        {QStringLiteral("Philips ACC2310/ACC2320, LFH2210/LFH2310"), 0x0911, 0x1844, -1, 1, 0x01,
         0x02, 0x04},
        {QStringLiteral("Philips ACC2330"), 0x0911, 0x091a, -1, 1, 0x01, 0x02, 0x04},
    };
    return models;
}

std::optional<PedalModel> PedalModels::parse(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() != 6 && parts.size() != 7)
        return std::nullopt;
    std::uint32_t values[7] = {};
    const std::uint32_t limits[7] = {0xffff, 0xffff, 63, 0xff, 0xff, 0xff, 0xff};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toUInt(&ok, 16);
        if (!ok || values[i] > limits[i])
            return std::nullopt;
    }
    PedalModel m;
    m.name = QStringLiteral("%1:%2").arg(parts[0].trimmed(), parts[1].trimmed());
    m.vendor = static_cast<std::uint16_t>(values[0]);
    m.product = static_cast<std::uint16_t>(values[1]);
    m.stateByte = static_cast<int>(values[2]);
    m.leftMask = static_cast<std::uint8_t>(values[3]);
    m.middleMask = static_cast<std::uint8_t>(values[4]);
    m.rightMask = static_cast<std::uint8_t>(values[5]);
    m.reportId = parts.size() == 7 ? static_cast<int>(values[6]) : -1;
    if (m.vendor == 0 || (m.leftMask | m.middleMask | m.rightMask) == 0)
        return std::nullopt;
    return m;
}

PedalModels::PedalModels(const QList<PedalModel> &models) : m_models(models) {}

void PedalModels::add(const PedalModel &model)
{
    for (PedalModel &m : m_models) {
        if (m.vendor == model.vendor && m.product == model.product) {
            m = model;
            return;
        }
    }
    m_models.append(model);
}

const PedalModel *PedalModels::find(std::uint16_t vendor, std::uint16_t product) const
{
    for (const PedalModel &m : m_models)
        if (m.vendor == vendor && m.product == product)
            return &m;
    return nullptr;
}

} // namespace quillory
