// Button pictures and their hover states; the open button sinks while hovered.
#include "form1.h"
#include "platform/files/program_folder.h"
#include "platform/geometry/twips.h"
#include "player/picture_button.h"

#include <QEvent>
#include <QMouseEvent>

using namespace quillory;

namespace {
constexpr int OpenButton = 0, PlayButton = 1, BackButton = 2, ForwardButton = 3, StopButton = 4;
constexpr int PressedOffsetTwips = 20;
} // namespace

void Form1::loadButtonPicture(int button, bool hover)
{
    const QString suffix = hover ? QStringLiteral("2") : QString();
    QString file;
    PictureButton *target = nullptr;
    switch (button) {
    case OpenButton:
        target = Image3;
        file = QStringLiteral("Apri") + suffix + QStringLiteral(".bmp");
        break;
    case PlayButton:
        target = cmdPlay;
        file = (m_session.playState() == PlayState::NotPlaying ? QStringLiteral("play")
                                                               : QStringLiteral("pause")) +
               suffix + QStringLiteral(".jpg");
        break;
    case BackButton:
        target = cmdIndietro;
        file = QStringLiteral("bac") + suffix + QStringLiteral(".jpg");
        break;
    case ForwardButton:
        target = CmdAvanz;
        file = QStringLiteral("for") + suffix + QStringLiteral(".jpg");
        break;
    case StopButton:
        target = CmdStop;
        file = QStringLiteral("stop") + suffix + QStringLiteral(".jpg");
        break;
    default:
        return;
    }
    // A missing picture leaves the button drawn as text, still usable.
    target->loadPicture(ProgramFolder::file(QStringLiteral("Files/") + file));
}

void Form1::buttonHovered(int button)
{
    if (!m_hover[static_cast<size_t>(button)]) {
        m_hover[static_cast<size_t>(button)] = true;
        loadButtonPicture(button, true);
    }
    for (int other = 0; other < 5; ++other) {
        if (other != button && m_hover[static_cast<size_t>(other)]) {
            m_hover[static_cast<size_t>(other)] = false;
            loadButtonPicture(other, false);
        }
    }
    if (button == OpenButton && Image3->y() == twipsToPixels(m_openButtonTop))
        Image3->move(twipsToPixels(m_openButtonLeft + PressedOffsetTwips),
                     twipsToPixels(m_openButtonTop + PressedOffsetTwips));
}

void Form1::Form_MouseMove()
{
    for (int button : {OpenButton, PlayButton, BackButton, ForwardButton, StopButton}) {
        if (m_hover[static_cast<size_t>(button)]) {
            m_hover[static_cast<size_t>(button)] = false;
            loadButtonPicture(button, false);
        }
    }
    if (Image3->y() != twipsToPixels(m_openButtonTop))
        Image3->move(twipsToPixels(m_openButtonLeft), twipsToPixels(m_openButtonTop));
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // A move that a button ignored bubbles up to the window as well; it is not a
    // move over the bare window and must not undo the button's hover state. A
    // disabled button takes no moves, so over it the window counts.
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        const auto *button = qobject_cast<PictureButton *>(centralWidget()->childAt(at));
        if (button == nullptr || !button->isEnabled())
            Form_MouseMove();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form1::isHovered(int button) const
{
    return m_hover[static_cast<size_t>(button)];
}
