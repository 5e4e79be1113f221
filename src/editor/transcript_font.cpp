#include "editor/transcript_font.h"

#include <QFontDatabase>
#include <cmath>

namespace quillory {

QString TranscriptFont::familyFrom(const QStringList &installed)
{
    static const char *const Preferred[] = {
        "Arial", "Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans", "Noto Sans", "FreeSans"};
    for (const char *name : Preferred) {
        const QString wanted = QString::fromLatin1(name);
        for (const QString &family : installed)
            if (family.compare(wanted, Qt::CaseInsensitive) == 0)
                return family;
    }
    return installed.isEmpty() ? QStringLiteral("Arial") : installed.first();
}

QFont TranscriptFont::font()
{
    QFont f(familyFrom(QFontDatabase::families()));
    f.setPointSize(PointSize);
    return f;
}

QString TranscriptFont::sizeText(double points)
{
    if (!(points > 0))
        return QString();
    const double rounded = std::round(points * 10.0) / 10.0;
    return QString::number(rounded, 'g', 6);
}

} // namespace quillory
