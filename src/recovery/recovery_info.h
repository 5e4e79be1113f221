#pragma once

#include <QDateTime>
#include <QString>

namespace quillory {

// What a recovery copy needs besides the text to put the session back: the
// transcript's file (or its untitled name), the media file, where it stood and
// how fast it played. Kept as "key=value" lines beside the copy.
struct RecoveryInfo {
    QString documentPath; // empty for an untitled transcript
    QString untitledName; // "Untitled1" when documentPath is empty
    QString mediaPath;    // empty when no media file was open
    qint64 positionMs = 0;
    double speed = 1.0;
    QDateTime savedAt; // UTC

    QByteArray toText() const;
    // Unknown keys and broken values are skipped: what can be read is kept.
    static RecoveryInfo fromText(const QByteArray &text);

    bool operator==(const RecoveryInfo &o) const;
};

} // namespace quillory
