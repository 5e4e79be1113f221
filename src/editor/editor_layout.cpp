#include "editor/editor_layout.h"

namespace quillory::EditorLayout {

Sizes resizeRule(int outerWidth, int outerHeight, int oldLabel1Width, int oldLabel1Height)
{
    Sizes s;
    const int width = outerWidth - 2 * Label1Left - 120;
    const int height = outerHeight - 2 * Label1Top - 500;
    s.label1Width = width >= 0 ? width : -1;
    s.label1Height = height >= 0 ? height : -1;
    const int pageWidth = width >= 0 ? width : oldLabel1Width;
    const int pageHeight = height >= 0 ? height : oldLabel1Height;
    const int rtbWidth = pageWidth - 360 - Label1Left;
    const int rtbHeight = pageHeight - Label1Top + 100;
    s.rtbWidth = rtbWidth >= 0 ? rtbWidth : -1;
    s.rtbHeight = rtbHeight >= 0 ? rtbHeight : -1;
    return s;
}

QStringList fontSizeList()
{
    QStringList sizes;
    for (int n = 5; n <= 15; ++n)
        sizes << QString::number(n);
    for (int n = 16; n <= 28; n += 2)
        sizes << QString::number(n);
    sizes << QStringLiteral("36") << QStringLiteral("48") << QStringLiteral("72");
    return sizes;
}

} // namespace quillory::EditorLayout
