#include "form2.h"

#include "editor/editor_layout.h"
#include "editor/formatting_bar.h"
#include "editor/rich_text_box.h"

#include <QLabel>
#include <QMouseEvent>

using namespace quillory;
namespace L = quillory::EditorLayout;

namespace {

// Window decorations the layout's margins were measured with, used when the
// window system does not report the frame (no window manager).
constexpr int assumedFrameWidth = 8;
constexpr int assumedFrameHeight = 34;

} // namespace

void Form2::Form_Resize()
{
    QSize outer = frameGeometry().size();
    if (outer == geometry().size())
        outer += QSize(assumedFrameWidth, assumedFrameHeight);
    const L::Sizes sizes =
        L::resizeRule(outer.width() * L::TwipsPerPixel, outer.height() * L::TwipsPerPixel,
                      Label1->width() * L::TwipsPerPixel, Label1->height() * L::TwipsPerPixel);
    if (sizes.label1Width >= 0)
        Label1->resize(L::px(sizes.label1Width), Label1->height());
    if (sizes.label1Height >= 0)
        Label1->resize(Label1->width(), L::px(sizes.label1Height));
    if (sizes.rtbWidth >= 0)
        RTB->resize(L::px(sizes.rtbWidth), RTB->height());
    if (sizes.rtbHeight >= 0)
        RTB->resize(RTB->width(), L::px(sizes.rtbHeight));
}

void Form2::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (Label1)
        Form_Resize();
}

// ---------------------------------------------------------------- hover frame

void Form2::Label2_MouseMove(int index)
{
    for (int j = 0; j < 15; ++j) {
        ClickArea *area = Label2[static_cast<size_t>(j)];
        if (j == index && !area->hasBorder())
            area->setBorder(true);
        else if (j != index && area->hasBorder())
            area->setBorder(false);
    }
}

void Form2::ClearToolbarHighlight()
{
    for (ClickArea *area : Label2) {
        if (area->hasBorder())
            area->setBorder(false);
    }
}

void Form2::mouseMoveEvent(QMouseEvent *event)
{
    ClearToolbarHighlight();
    QMainWindow::mouseMoveEvent(event);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    // The page (Label1) and the window's background (Form_MouseMove).
    if (event->type() == QEvent::MouseMove && (watched == Label1 || watched == centralWidget()))
        ClearToolbarHighlight();
    return QMainWindow::eventFilter(watched, event);
}
