#pragma once

#include <QRect>
#include <cmath>

// Window geometry is designed in twips: 15 to a pixel at 96 DPI. Qt scales
// device-independent pixels to the screen, so a twip is 1/15 of a Qt pixel.
constexpr double TwipsPerPixel = 15.0;

inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}
inline double pixelsToTwips(double pixels)
{
    return pixels * TwipsPerPixel;
}
inline QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}
