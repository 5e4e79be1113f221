#pragma once

#include <QColor>

// One palette and one set of stroke widths for every picture, so the player
// buttons, the volume slider and the editor icons look like one family.
namespace PictureStyle {

inline const QColor windowBackground{0xf0, 0xf0, 0xf0};
inline const QColor glyph{0x30, 0x30, 0x30};
inline const QColor paper{0xff, 0xff, 0xff};
inline const QColor accent{0x3c, 0x9a, 0x5f};
inline const QColor accentDark{0x2b, 0x77, 0x48};
inline const QColor buttonFace{0xdb, 0xdb, 0xdb};
inline const QColor buttonRim{0xb2, 0xb2, 0xb2};
inline const QColor folderFill{0xe9, 0xb6, 0x4f};
inline const QColor fontColourBar{0xd9, 0x3a, 0x3a};
inline const QColor sliderGroove{0xc4, 0xc4, 0xc4};
inline const QColor sliderRim{0x8c, 0x8c, 0x8c};

// Stroke widths in design pixels (the pictures are rendered at renderScale).
constexpr qreal iconStroke = 1.5;
constexpr qreal rimStroke = 1.0;

// Pictures are drawn at twice their design size so they stay sharp when the
// window scales them on high-DPI screens.
constexpr int renderScale = 2;

// Mixes a colour towards white; amount 0 keeps it, 1 gives white.
QColor lightened(const QColor &colour, qreal amount);

} // namespace PictureStyle
