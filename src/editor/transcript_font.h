#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace quillory {

// The font a new transcript is typed in: an installed family, so that the font
// box shows what the text really uses and a saved file names a font that
// exists, at 12 points. Arial where it is installed, else a font drawn to its
// measures, else a common sans serif.
class TranscriptFont {
public:
    static constexpr int PointSize = 12;

    // The family chosen from the installed ones (compared without case, and
    // given as installed); the first installed one when none of the preferred
    // is there, and "Arial" when nothing is installed at all.
    static QString familyFrom(const QStringList &installed);
    // The font itself, from the families installed on this system.
    static QFont font();
    // A size as the size box shows it: "12", "10.5".
    static QString sizeText(double points);
};

} // namespace quillory
