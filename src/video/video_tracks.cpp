#include "video/video_tracks.h"

#include <QVariantMap>

namespace quillory {

PictureTrack pictureTrackOf(const QVariantList &trackList)
{
    PictureTrack found;
    for (const QVariant &entry : trackList) {
        const QVariantMap track = entry.toMap();
        if (track.value(QStringLiteral("type")).toString() != QLatin1String("video"))
            continue;
        // Cover art of an audio file is a video track of one still frame.
        if (track.value(QStringLiteral("albumart")).toBool() ||
            track.value(QStringLiteral("image")).toBool())
            continue;
        const bool selected = track.value(QStringLiteral("selected")).toBool();
        if (found.present && (found.selected || !selected))
            continue;
        found.present = true;
        found.selected = selected;
        found.id = track.value(QStringLiteral("id")).toLongLong();
        const int width = track.value(QStringLiteral("demux-w")).toInt();
        const int height = track.value(QStringLiteral("demux-h")).toInt();
        found.size = width > 0 && height > 0 ? QSize(width, height) : QSize();
        found.codec = track.value(QStringLiteral("codec")).toString();
    }
    return found;
}

QVariant variantFromNode(const mpv_node &node)
{
    switch (node.format) {
    case MPV_FORMAT_STRING:
    case MPV_FORMAT_OSD_STRING:
        return QString::fromUtf8(node.u.string);
    case MPV_FORMAT_FLAG:
        return node.u.flag != 0;
    case MPV_FORMAT_INT64:
        return qlonglong(node.u.int64);
    case MPV_FORMAT_DOUBLE:
        return node.u.double_;
    case MPV_FORMAT_NODE_ARRAY: {
        QVariantList list;
        if (node.u.list != nullptr) {
            for (int i = 0; i < node.u.list->num; ++i)
                list.append(variantFromNode(node.u.list->values[i]));
        }
        return list;
    }
    case MPV_FORMAT_NODE_MAP: {
        QVariantMap map;
        if (node.u.list != nullptr) {
            for (int i = 0; i < node.u.list->num; ++i)
                map.insert(QString::fromUtf8(node.u.list->keys[i]),
                           variantFromNode(node.u.list->values[i]));
        }
        return map;
    }
    default:
        return QVariant();
    }
}

} // namespace quillory
