#pragma once

#include "platform/mixer/mixer.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

// The master volume control that the player's slider sets, found once at start-up.
// Its values run from 0 to rawMaximum(); the mixer's own minimum maps to 0.
struct VolumeControl {
    bool found = false;
    MixerElement element;

    // VolumeMax: the top of the raw range; 0 while no control was found.
    std::int32_t rawMaximum() const;
};

// Finds the master playback volume: the element named "Master", else the first
// element with a playback volume. An element whose range is empty is no control.
bool GetVolumeControl(Mixer &mixer, VolumeControl *control);

// Sets a raw value on all channels of the control at once. Values beyond 0 to
// rawMaximum() are brought back into it. Without a control nothing reaches the mixer.
bool SetVolumeControl(Mixer &mixer, const VolumeControl &control, std::int64_t value);

// The control's current raw value, 0 to rawMaximum(); nothing without a control.
std::optional<std::int32_t> GetVolumeValue(Mixer &mixer, const VolumeControl &control);

// The knob's tag as a raw value: plain decimal digits (blanks around them are
// forgiven); nothing for any other text.
std::optional<std::int64_t> volumeFromTag(const QString &tag);

// The readout: value / maximum in whole percent (nearest) with one blank before a
// non-negative number, then "%" (" 50%"); nothing when maximum is not positive.
std::optional<QString> volumePercentText(std::int64_t value, std::int32_t maximum);

// The volume as a share of the control's range, 0.0 to 1.0 (as desktop media
// controls give it); nothing when maximum is not positive.
std::optional<double> volumeFraction(std::int64_t value, std::int32_t maximum);
// The raw value nearest to a share of the range; shares beyond 0.0 to 1.0 are
// brought back into it.
std::int64_t volumeValueForFraction(double fraction, std::int32_t maximum);

} // namespace quillory
