#pragma once

#include <cstdint>

namespace quillory {

// The volume slider's geometry and the rules that turn pointer positions into a
// knob position and a knob position into a raw volume value. All lengths are
// twips; the knob's top is kept exactly, the window shows it to the nearest pixel.
class VolumeSlider {
public:
    void placeTrack(double trackLeft, double trackTop, double trackWidth, double trackHeight,
                    double knobWidth, double knobHeight);

    double knobTop() const { return m_knobTop; }
    double knobLeft() const { return m_knobLeft; }
    double trackTop() const { return m_trackTop; }
    double trackHeight() const { return m_trackHeight; }
    double knobHeight() const { return m_knobHeight; }

    // Puts the knob where it is told, on the track or not (a stored position).
    void setKnobTop(double top) { m_knobTop = top; }
    // The knob centred on the track, both ways.
    void centre();
    // Back onto the track: its top not above the track's, its bottom not below.
    void keepOnTrack();

    // The knob-to-value rule: maximum with the knob at the top of the track, 0 at
    // the bottom, linear in between, whole numbers cut towards 0. A knob off the
    // track counts as at its nearer end, so the value never leaves 0 to maximum.
    std::int32_t valueFor(std::int32_t maximum) const;
    // The inverse, to the nearest whole twip: the knob where the rule gives about
    // `value`. Without a range the knob is centred.
    void placeAtValue(std::int64_t value, std::int32_t maximum);

    // Where a pointer movement over the knob wants it (the knob's centre about ten
    // twips below the pointer); `yInKnob` is the pointer's height within the knob.
    double dragTarget(double yInKnob) const;
    // One step of the drag timer towards a target from dragTarget(): whole twips,
    // halves to even, never off the track. True when the knob moved.
    bool dragTowards(double target);
    // A click on the track at `yInTrack` centres the knob on the pointer, on the track.
    void clickAt(double yInTrack);

private:
    double m_trackLeft = 4545, m_trackTop = 360, m_trackWidth = 90, m_trackHeight = 1200;
    double m_knobWidth = 375, m_knobHeight = 195;
    double m_knobTop = 1230, m_knobLeft = 4400;
};

// The readout's flash after a touch: red at once, then seventeen lighter steps to
// white, one a tick of the fade timer.
class ReadoutFade {
public:
    static constexpr int Touched = -15;

    // A touch restarts the sequence.
    void touch() { m_level = Touched; }
    // One tick: the new green and blue of the red readout (0 red ... 255 white).
    // `finished` is set on the white step, after which the timer stops.
    int tick(bool *finished);
    int level() const { return m_level; }

private:
    int m_level = Touched;
};

} // namespace quillory
