#include "recent_list.h"

namespace quillory {

RecentList::RecentList()
{
    for (int i = 0; i < Size; ++i)
        m_captions[static_cast<size_t>(i)] = placeholder(i);
}

QString RecentList::placeholder(int slot)
{
    return QStringLiteral("mnuRecent%1").arg(slot + 1);
}

bool RecentList::isShown(const QString &caption)
{
    return !caption.startsWith(QLatin1String("mnuRecent"), Qt::CaseSensitive);
}

QStringList RecentList::captions() const
{
    QStringList list;
    for (const QString &c : m_captions)
        list << c;
    return list;
}

bool RecentList::anyShown() const
{
    for (const QString &c : m_captions)
        if (isShown(c))
            return true;
    return false;
}

void RecentList::moveToFront(const QString &path)
{
    // The file keeps one path a line: a name with a line break in it would
    // come back as two entries, so such a file is not listed.
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        return;
    int hit = -1;
    for (int i = 0; i < Size; ++i)
        if (m_captions[static_cast<size_t>(i)] == path)
            hit = i;
    // Slots above the hit (or all but the oldest when there is none) move down one.
    const int from = hit < 0 ? Size - 1 : hit;
    for (int i = from; i > 0; --i)
        m_captions[static_cast<size_t>(i)] = m_captions[static_cast<size_t>(i - 1)];
    m_captions[0] = path;
}

bool RecentList::load(const QString &path)
{
    QStringList lines;
    if (!readTextLines(path, &lines))
        return false;
    bool any = false;
    for (int i = 0; i < Size && i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        m_captions[static_cast<size_t>(i)] = lines[i];
        any = true;
    }
    return any;
}

FileResult RecentList::save(const QString &path) const
{
    return writeTextLines(path, captions());
}

} // namespace quillory
