#include "transport_button_pictures.h"

#include "platform/files/program_folder.h"
#include "platform/geometry/twips.h"
#include "player/picture_button.h"
#include "player/player_controls.h"

using namespace quillory;

namespace {
constexpr int PressedOffsetTwips = 20;
} // namespace

TransportButtonPictures::TransportButtonPictures(PlayerControls &controls,
                                                 std::function<bool()> playing)
    : m_controls(controls), m_playing(std::move(playing))
{
}

void TransportButtonPictures::loadAtStart()
{
    m_openButtonTop = static_cast<int>(pixelsToTwips(m_controls.Image3->y()));
    m_openButtonLeft = static_cast<int>(pixelsToTwips(m_controls.Image3->x()));
    for (int button : {Open, Play, Back, Forward, Stop})
        load(button, false);
}

void TransportButtonPictures::unhover(int button)
{
    m_hover[static_cast<size_t>(button)] = false;
    load(button, false);
}

void TransportButtonPictures::putOpenButtonHome()
{
    m_controls.Image3->move(twipsToPixels(m_openButtonLeft), twipsToPixels(m_openButtonTop));
}

void TransportButtonPictures::load(int button, bool hover)
{
    const QString suffix = hover ? QStringLiteral("2") : QString();
    QString file;
    PictureButton *target = nullptr;
    switch (button) {
    case Open:
        target = m_controls.Image3;
        file = QStringLiteral("Apri") + suffix + QStringLiteral(".bmp");
        break;
    case Play:
        target = m_controls.cmdPlay;
        file = (!m_playing() ? QStringLiteral("play") : QStringLiteral("pause")) + suffix +
               QStringLiteral(".jpg");
        break;
    case Back:
        target = m_controls.cmdIndietro;
        file = QStringLiteral("bac") + suffix + QStringLiteral(".jpg");
        break;
    case Forward:
        target = m_controls.CmdAvanz;
        file = QStringLiteral("for") + suffix + QStringLiteral(".jpg");
        break;
    case Stop:
        target = m_controls.CmdStop;
        file = QStringLiteral("stop") + suffix + QStringLiteral(".jpg");
        break;
    default:
        return;
    }
    // A missing picture leaves the button drawn as text, still usable.
    target->loadPicture(ProgramFolder::file(QStringLiteral("Files/") + file));
}

void TransportButtonPictures::hovered(int button)
{
    if (!m_hover[static_cast<size_t>(button)]) {
        m_hover[static_cast<size_t>(button)] = true;
        load(button, true);
    }
    for (int other = 0; other < 5; ++other) {
        if (other != button && m_hover[static_cast<size_t>(other)]) {
            m_hover[static_cast<size_t>(other)] = false;
            load(other, false);
        }
    }
    if (button == Open && m_controls.Image3->y() == twipsToPixels(m_openButtonTop))
        m_controls.Image3->move(twipsToPixels(m_openButtonLeft + PressedOffsetTwips),
                                twipsToPixels(m_openButtonTop + PressedOffsetTwips));
}

void TransportButtonPictures::leftButtons()
{
    for (int button : {Open, Play, Back, Forward, Stop}) {
        if (m_hover[static_cast<size_t>(button)]) {
            m_hover[static_cast<size_t>(button)] = false;
            load(button, false);
        }
    }
    if (m_controls.Image3->y() != twipsToPixels(m_openButtonTop))
        m_controls.Image3->move(twipsToPixels(m_openButtonLeft), twipsToPixels(m_openButtonTop));
}
