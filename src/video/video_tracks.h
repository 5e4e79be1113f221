#pragma once

#include <QSize>
#include <QString>
#include <QVariant>

#include <mpv/client.h>

namespace quillory {

// The picture track of the open media, as the player's track list describes it.
struct PictureTrack {
    bool present = false;  // a video track that is a moving picture, not cover art
    bool selected = false; // being decoded (false: switched off, or it failed)
    qint64 id = 0;         // the player's id of the track
    QSize size;            // as the container states it; empty when unknown
    QString codec;

    bool operator==(const PictureTrack &other) const
    {
        return present == other.present && selected == other.selected && id == other.id &&
               size == other.size && codec == other.codec;
    }
    bool operator!=(const PictureTrack &other) const { return !(*this == other); }
};

// The first video track that is not cover art ("albumart" or an attached
// picture); a selected one wins over one that is not.
PictureTrack pictureTrackOf(const QVariantList &trackList);

// A libmpv node as a QVariant (maps become QVariantMap, arrays QVariantList).
QVariant variantFromNode(const mpv_node &node);

} // namespace quillory
