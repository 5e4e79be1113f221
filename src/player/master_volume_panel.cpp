#include "master_volume_panel.h"

#include "player/plain_colours.h"

#include "platform/files/program_folder.h"
#include "platform/geometry/twips.h"
#include "platform/mixer/mixer.h"
#include "player/mouse_image.h"
#include "player/picture_preload.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <algorithm>
#include <cmath>

using namespace quillory;

namespace {

constexpr int DragIntervalMs = 10;
constexpr int FadeIntervalMs = 100;
constexpr int ReadoutPointSize = 9;

template <typename W>
W *placeVolumePart(W *widget, const char *name, double l, double t, double w, double h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    widget->setGeometry(twipsRect(l, t, w, h));
    return widget;
}

// A stored knob position is taken when it lies on the track (a twip of slack for
// positions written by earlier versions); anything else, such as the 0 of a
// missing line, is no position at all.
bool knobTopIsOnTrack(const VolumeSlider &slider, double top)
{
    const double lowest = slider.trackTop() + slider.trackHeight() - slider.knobHeight();
    return std::isfinite(top) && top >= slider.trackTop() - 1 && top <= lowest + 1;
}

} // namespace

MasterVolumePanel::MasterVolumePanel(QWidget *client, const Services &services,
                                     const LanguageTable &language,
                                     std::function<void()> returnFocus)
    : QObject(client), m_services(services), m_language(language),
      m_returnFocus(std::move(returnFocus))
{
    Image2 = placeVolumePart(new MouseImage(client), "Image2", 4545, 360, 90, 1200);
    Image2->setScaledContents(true);
    plain_colours::setFill(Image2, QColor(0x7a, 0x85, 0x91)); // until the picture is read
    Image1 = placeVolumePart(new MouseImage(client), "Image1", 4400, 1230, 375, 195);
    Image1->setScaledContents(true);
    auto *readoutTag = new TagLabel(client);
    readoutTag->setText(QStringLiteral("100%"));
    readoutTag->setBackground(QColor(0x3a, 0x40, 0x48));
    Label5 = placeVolumePart(readoutTag, "Label5", 4350, 1680, 495, 285);
    QFont readout(QStringLiteral("Arial"), ReadoutPointSize, QFont::Bold);
    Label5->setFont(readout);
    Label5->setAlignment(Qt::AlignCenter);
    setReadoutColor(Qt::white);
    Label1 = placeVolumePart(new QLabel(QStringLiteral("+"), client), "Label1", 4505, 45, 165, 360);
    Label3 =
        placeVolumePart(new QLabel(QStringLiteral("-"), client), "Label3", 4530, 1365, 120, 435);
    for (QLabel *l : {Label1, Label3}) {
        plain_colours::setText(l, QColor(0x30, 0x30, 0x30));
        l->setAlignment(Qt::AlignCenter);
    }

    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setTimerType(Qt::PreciseTimer);
    Timer2.setInterval(DragIntervalMs);
    Timer3.setObjectName(QStringLiteral("Timer3"));
    Timer3.setInterval(FadeIntervalMs);
    connect(&Timer2, &QTimer::timeout, this, &MasterVolumePanel::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &MasterVolumePanel::Timer3_Timer);

    // The pictures report positions within the widget, which shows the knob to the
    // nearest pixel; the handlers want them within the knob as it is kept.
    auto inKnob = [this](double y) {
        return y + pixelsToTwips(Image1->y()) - m_volumeSlider.knobTop();
    };
    connect(Image1, &MouseImage::mouseDown, this,
            [this, inKnob](int b, double x, double y) { Image1_MouseDown(b, x, inKnob(y)); });
    connect(Image1, &MouseImage::mouseMove, this,
            [this, inKnob](int b, double x, double y) { Image1_MouseMove(b, x, inKnob(y)); });
    connect(Image1, &MouseImage::mouseUp, this,
            [this, inKnob](int b, double x, double y) { Image1_MouseUp(b, x, inKnob(y)); });
    connect(Image2, &MouseImage::mouseDown, this, &MasterVolumePanel::Image2_MouseDown);
    connect(Image2, &MouseImage::mouseMove, this, &MasterVolumePanel::Image2_MouseMove);
    connect(Image2, &MouseImage::mouseUp, this, &MasterVolumePanel::Image2_MouseUp);
}

// ---------------------------------------------------------------- master volume

void MasterVolumePanel::OpenMixer()
{
    m_mixerOpen = m_services.mixer != nullptr && m_services.mixer->open();
    if (!m_mixerOpen) {
        // The language is not loaded yet at this step; the message waits for it.
        m_mixerReportDue = true;
        return;
    }
    GetVolumeControl(*m_services.mixer, &m_volumeControl);
}

void MasterVolumePanel::reportMissingMixer(QWidget *owner)
{
    if (!m_mixerReportDue)
        return;
    m_mixerReportDue = false;
    m_services.messages->show(owner, m_language.T(29), MsgButtons::Ok, MsgIcon::None,
                              QStringLiteral("Quillory"));
}

void MasterVolumePanel::ApplyVolume()
{
    const std::int32_t top = volumeMax();
    if (const std::optional<std::int64_t> value = volumeFromTag(m_volumeTag))
        m_volumeValue = top > 0 ? std::clamp<std::int64_t>(*value, 0, top) : *value;
    if (const std::optional<QString> percent = volumePercentText(m_volumeValue, top))
        showReadout(*percent);
    if (m_mixerOpen)
        SetVolumeControl(*m_services.mixer, m_volumeControl, m_volumeValue);
}

// ---------------------------------------------------------------- knob and track

void MasterVolumePanel::PlaceVolumeKnob()
{
    Timer2.stop();
    Timer2.setInterval(DragIntervalMs);
    const QRect track = Image2->geometry();
    const QRect knob = Image1->geometry();
    m_volumeSlider.placeTrack(pixelsToTwips(track.x()), pixelsToTwips(track.y()),
                              pixelsToTwips(track.width()), pixelsToTwips(track.height()),
                              pixelsToTwips(knob.width()), pixelsToTwips(knob.height()));
    m_volumeSlider.centre();
    Image1->setPixmap(QPixmap::fromImage(
        PicturePreload::read(ProgramFolder::file(QStringLiteral("Files/knob.bmp")))));
    Image2->setPixmap(QPixmap::fromImage(
        PicturePreload::read(ProgramFolder::file(QStringLiteral("Files/track.bmp")))));
    if (!Image2->pixmap().isNull())
        Image2->setAutoFillBackground(false);
    setVolumeTagFromKnob();
    showVolumeKnob();
}

void MasterVolumePanel::showVolumeKnob()
{
    Image1->move(twipsToPixels(m_volumeSlider.knobLeft()), twipsToPixels(m_volumeSlider.knobTop()));
}

void MasterVolumePanel::setVolumeTagFromKnob()
{
    // Without a volume control every position would read 0; the stored value is
    // kept rather than turned into a silent system at the next start.
    if (volumeMax() > 0)
        m_volumeTag = QString::number(m_volumeSlider.valueFor(volumeMax()));
}

void MasterVolumePanel::showReadout(const QString &text)
{
    // The readout is narrow; where the designed font is wider than Arial the text
    // gets a smaller size rather than a clipped "%".
    QFont font = Label5->font();
    for (int size = ReadoutPointSize; size >= 6; --size) {
        font.setPointSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= Label5->width())
            break;
    }
    Label5->setFont(font);
    Label5->setText(text);
}

void MasterVolumePanel::setReadoutColor(const QColor &color)
{
    m_readoutColor = color;
    plain_colours::setText(Label5, color);
}

void MasterVolumePanel::Image1_MouseDown(int button, double, double)
{
    Timer2.start(DragIntervalMs);
    m_knobButton = button;
}

void MasterVolumePanel::Image1_MouseMove(int button, double, double y)
{
    m_fade.touch();
    Timer3.start(FadeIntervalMs);
    m_knobButton = button;
    m_knobTarget = m_volumeSlider.dragTarget(y);
    ApplyVolume();
    m_volumeSlider.keepOnTrack();
    showVolumeKnob();
    m_returnFocus();
}

void MasterVolumePanel::Timer2_Timer()
{
    // Only the left button drags; with any other the knob stays where it is.
    if (m_knobButton != 1)
        return;
    if (m_volumeSlider.dragTowards(m_knobTarget))
        showVolumeKnob();
    setVolumeTagFromKnob();
}

void MasterVolumePanel::Image1_MouseUp(int button, double, double)
{
    Timer2.stop();
    m_knobButton = button;
    ApplyVolume();
    m_returnFocus();
}

void MasterVolumePanel::Image2_MouseDown(int, double, double)
{
    m_fade.touch();
    setReadoutColor(QColor(255, 0, 0));
    // A click without a movement before it still fades back to white.
    Timer3.start(FadeIntervalMs);
}

void MasterVolumePanel::Image2_MouseMove(int, double, double)
{
    m_fade.touch();
    Timer3.start(FadeIntervalMs);
}

void MasterVolumePanel::Image2_MouseUp(int button, double, double y)
{
    m_knobButton = button;
    m_volumeSlider.clickAt(y);
    showVolumeKnob();
    setVolumeTagFromKnob();
    ApplyVolume();
    m_returnFocus();
}

std::optional<double> MasterVolumePanel::volumeFraction() const
{
    return quillory::volumeFraction(m_volumeValue, volumeMax());
}

void MasterVolumePanel::setVolumeFraction(double fraction)
{
    const std::int32_t top = volumeMax();
    if (top <= 0)
        return;
    const std::int64_t value = volumeValueForFraction(fraction, top);
    m_volumeSlider.placeAtValue(value, top);
    showVolumeKnob();
    m_volumeTag = QString::number(value);
    m_fade.touch();
    Timer3.start(FadeIntervalMs);
    ApplyVolume();
}

void MasterVolumePanel::Timer3_Timer()
{
    bool finished = false;
    const int shade = m_fade.tick(&finished);
    setReadoutColor(QColor(255, shade, shade));
    if (finished)
        Timer3.stop();
}

// ---------------------------------------------------------------- the settings lines

void MasterVolumePanel::restore(const PlayerSettings &settings)
{
    const std::int32_t top = volumeMax();
    const std::optional<std::int64_t> stored = volumeFromTag(settings.volumeLevel);
    const bool knobStored = knobTopIsOnTrack(m_volumeSlider, settings.volumeKnobTop);
    if (top <= 0) {
        // Nothing to set; the stored lines are kept for a start that has a mixer.
        if (knobStored)
            m_volumeSlider.setKnobTop(settings.volumeKnobTop);
        m_volumeTag = settings.volumeLevel;
        showVolumeKnob();
        ApplyVolume();
        return;
    }
    if (stored && *stored <= top) {
        if (knobStored)
            m_volumeSlider.setKnobTop(settings.volumeKnobTop);
        else
            m_volumeSlider.placeAtValue(*stored, top);
        m_volumeTag = QString::number(*stored);
        showVolumeKnob();
        ApplyVolume();
        return;
    }
    // No stored value that fits this control (first start, damaged file, another
    // mixer): the knob shows the volume the system has, which stays as it is.
    if (const std::optional<std::int32_t> current =
            GetVolumeValue(*m_services.mixer, m_volumeControl)) {
        m_volumeSlider.placeAtValue(*current, top);
        m_volumeTag = QString::number(*current);
    } else {
        setVolumeTagFromKnob();
    }
    showVolumeKnob();
    m_volumeValue = volumeFromTag(m_volumeTag).value_or(0);
    if (const std::optional<QString> percent = volumePercentText(m_volumeValue, top))
        showReadout(*percent);
}

void MasterVolumePanel::store(PlayerSettings *settings) const
{
    // Without a volume control the knob stands for nothing; the lines read at
    // start-up go back unchanged.
    if (volumeMax() <= 0)
        return;
    settings->volumeLevel = m_volumeTag;
    settings->volumeKnobTop = static_cast<float>(m_volumeSlider.knobTop());
}
