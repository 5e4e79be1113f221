#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

// The three pedals of a transcription foot control, as bits of one state.
enum PedalBit : std::uint8_t { PedalLeft = 0x1, PedalMiddle = 0x2, PedalRight = 0x4 };
using PedalState = std::uint8_t; // an OR of PedalBit values; 0 = nothing pressed

// How one model of USB foot control reports its pedals on a hidraw device: each
// input report carries the pressed pedals as bits of one byte (after the report
// number, for devices whose reports are numbered). A report whose byte index lies
// past its end, or whose report number is not the pedals' one, is ignored.
struct PedalModel {
    QString name;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    int reportId = -1; // the first byte when the device numbers its reports; -1 when it does not
    int stateByte = 0; // index of the byte that holds the pedal bits
    std::uint8_t leftMask = 0;
    std::uint8_t middleMask = 0;
    std::uint8_t rightMask = 0;

    // The pedals a report says are down; nothing for a report that is not a pedal report.
    std::optional<PedalState> decode(const QByteArray &report) const;
};

// The foot controls the program knows, and the extra or corrected entries a user
// adds in Preferences.ini ("PedalDevice=vvvv:pppp:byte:left:middle:right" in hex,
// optionally ":id" for a numbered report). A user entry with the same vendor and
// product replaces the built-in one.
class PedalModels {
public:
    static const QList<PedalModel> &builtIn();
    // Parses one "PedalDevice" value; nothing when it is malformed.
    static std::optional<PedalModel> parse(const QString &text);

    explicit PedalModels(const QList<PedalModel> &models = builtIn());
    void add(const PedalModel &model);
    const PedalModel *find(std::uint16_t vendor, std::uint16_t product) const;
    const QList<PedalModel> &all() const { return m_models; }

private:
    QList<PedalModel> m_models;
};

} // namespace quillory

Q_DECLARE_METATYPE(quillory::PedalModel)
