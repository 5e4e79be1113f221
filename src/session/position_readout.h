#pragma once

#include <QString>

namespace quillory {

// What the time text and the position bar show for a position, and whether it
// differs from what they show now. Other displays wake the tick more often
// than the text changes (once a second) or the bar's fill (a pixel every few
// seconds): the widgets are touched only on a change.
class PositionReadout {
public:
    struct Change {
        bool text = false;
        bool fill = false;
    };

    // The bar is `barWidthPixels` wide (its fill is in twips, 15 to a pixel).
    Change show(double positionMs, double lengthMs, int barWidthPixels);
    // The widgets were changed elsewhere: the next show() redraws both.
    void forget();
    // Media time from `positionMs` until show() would report a change: the
    // next shown second or the fill's next pixel. Played at a steady pace,
    // nothing changes before then.
    static double msUntilChange(double positionMs, double lengthMs, int barWidthPixels);

    const QString &text() const { return m_text; }
    double fillTwips() const { return m_fillTwips; }
    int fillPixels() const { return m_fillPixels; }

private:
    bool m_known = false;
    long long m_positionSeconds = 0;
    long long m_lengthSeconds = 0;
    QString m_text;
    double m_fillTwips = 0;
    int m_fillPixels = 0;
};

} // namespace quillory
