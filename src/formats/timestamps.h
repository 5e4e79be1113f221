#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace quillory {

class Preferences;

// Media positions written into the transcript as plain text, and read back.
//
// A timestamp shows the media position plus the offset (the time of day, or of
// the meeting, at which the recording started), cut down to the unit it shows:
// "[01:23]" for 83.9 s, never "[01:24]". Read back, it gives the first moment
// that carries the same text, so a click plays from at or before what was typed,
// never after it.
namespace Timestamps {

enum class Format {
    MinutesSeconds = 0,      // "[01:23]"; the minutes go on past 59: "[75:02]"
    HoursMinutesSeconds = 1, // "[0:01:23]"
    WithTenths = 2,          // "[00:01:23.4]"
    HashWithTenths = 3,      // "#00:01:23-4#"
};
constexpr int FormatCount = 4;

// The text for a media position; negative positions count as 0.
QString format(qint64 mediaMs, qint64 offsetMs, Format format);

// The smallest step a format shows: a second, or a tenth of one.
qint64 unitMs(Format format);

// One timestamp found in a paragraph: where its text lies and the moment it shows
// (the offset still included).
struct Found {
    int start = 0;
    int length = 0;
    qint64 shownMs = 0;
};

// The timestamp, in any of the formats, that covers the character at `index` of
// `paragraph`. Anything that is not exactly one of the formats (seconds or,
// in the forms with hours, minutes of 60 or more, a missing bracket, letters)
// is no timestamp.
std::optional<Found> findAt(const QString &paragraph, int index);

// Every timestamp of `paragraph`, left to right, none overlapping another.
QList<Found> findAll(const QString &paragraph);

// The media position that the timestamp covering `index` stands for: its time
// less the offset. Nothing when there is no timestamp there or when it lies
// before the offset (a moment before the recording started).
std::optional<qint64> mediaPositionAt(const QString &paragraph, int index, qint64 offsetMs);

// The offset as the settings keep it, "hh:mm:ss" (hours may have one to three
// digits); nothing for any other text.
std::optional<qint64> parseOffset(const QString &text);
QString offsetText(qint64 offsetMs);

} // namespace Timestamps

// The user's timestamp choices in the preferences store: "timestamp.format"
// (0..3) and "timestamp.offset" ("hh:mm:ss"). A missing or unusable value gives
// the default: the first format, no offset.
struct TimestampSettings {
    Timestamps::Format format = Timestamps::Format::MinutesSeconds;
    qint64 offsetMs = 0;

    static TimestampSettings load(const Preferences &preferences);
    void store(Preferences &preferences) const;
};

} // namespace quillory
