#pragma once

#include <QStringList>
#include <array>

// Positions and sizes of the editor window's controls, in twips (15 to a pixel
// at 96 DPI), and the rule that sizes the page and the text to the window.
namespace quillory::EditorLayout {

constexpr int TwipsPerPixel = 15;
constexpr int px(int twips)
{
    return twips / TwipsPerPixel;
}

struct Box {
    int left, top, width, height;
};

constexpr Box Image1{150, 60, 6915, 390};
constexpr int ClickAreaTop = 30;
constexpr int ClickAreaSize = 435;
constexpr std::array<int, 15> ClickAreaLefts{150,  570,  1050, 1440, 1950, 2400, 2820, 3240,
                                             3780, 4230, 4680, 5160, 5610, 6060, 6600};
constexpr int LetterTop = 90;
constexpr Box Combo1{7170, 90, 2745, 315};
constexpr Box Combo2{9960, 90, 645, 315};
constexpr int Label1Left = 150;
constexpr int Label1Top = 480;
constexpr int RtbLeft = 510;
constexpr int RtbTop = 690;

// The sizes the resize rule gives for an outer window size; a size that comes
// out negative is refused (nullopt-like -1) and the control keeps its old one.
struct Sizes {
    int label1Width = -1, label1Height = -1, rtbWidth = -1, rtbHeight = -1;
};
// `oldLabel1Width/Height` are used when the new page size is refused, since
// the text's size is computed from the page's size as it then stands.
Sizes resizeRule(int outerWidth, int outerHeight, int oldLabel1Width, int oldLabel1Height);

// The size box's list: 5 to 15 by one, 16 to 28 by two, 36, 48, 72.
QStringList fontSizeList();

} // namespace quillory::EditorLayout
