#pragma once

#include "i18n/language_table.h"
#include "platform/files/settings_file.h"
#include "platform/services/services.h"
#include "player/mouse_image.h"
#include "player/volume.h"
#include "player/volume_slider.h"

#include <QColor>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class QLabel;

// The slider at the player's right edge and the system's master volume it
// sets: the knob on its track, the percentage readout that fades back to
// white, and the two settings lines that keep the knob's place and value.
class MasterVolumePanel : public QObject {
    Q_OBJECT
public:
    // Builds the controls on `client`; `returnFocus` hands the keyboard back
    // after a drag or click.
    MasterVolumePanel(QWidget *client, const quillory::Services &services,
                      const quillory::LanguageTable &language, std::function<void()> returnFocus);

    // At start: the mixer, the knob centred on its track, the stored volume.
    void OpenMixer();
    void PlaceVolumeKnob();
    // A missing mixer is told once its message can be read (the language loaded).
    void reportMissingMixer(QWidget *owner);
    void restore(const quillory::PlayerSettings &settings);
    void store(quillory::PlayerSettings *settings) const;

    void ApplyVolume();
    void Image1_MouseDown(int button, double x, double y);
    void Image1_MouseMove(int button, double x, double y);
    void Image1_MouseUp(int button, double x, double y);
    void Image2_MouseDown(int button, double x, double y);
    void Image2_MouseMove(int button, double x, double y);
    void Image2_MouseUp(int button, double x, double y);
    void Timer2_Timer();
    void Timer3_Timer();

    std::int32_t volumeMax() const { return m_volumeControl.rawMaximum(); }
    // The volume last applied as a share of its range; nothing without a control.
    std::optional<double> volumeFraction() const;
    // Moves the knob to a share of the range and applies it, as a click on the
    // track there would (media keys and desktop panels set the volume so).
    void setVolumeFraction(double fraction);
    QString volumeTag() const { return m_volumeTag; }
    double volumeKnobTop() const { return m_volumeSlider.knobTop(); }
    QColor readoutColor() const { return m_readoutColor; }

    // Controls, named as designed.
    MouseImage *Image1 = nullptr; // the knob
    MouseImage *Image2 = nullptr; // the track
    QLabel *Label5 = nullptr;     // the readout
    QLabel *Label1 = nullptr;     // "+"
    QLabel *Label3 = nullptr;     // "-"
    QTimer Timer2;                // the knob's drag
    QTimer Timer3;                // the readout's fade

private:
    void showVolumeKnob();
    void setVolumeTagFromKnob();
    void setReadoutColor(const QColor &color);
    void showReadout(const QString &text);

    quillory::Services m_services;
    const quillory::LanguageTable &m_language;
    std::function<void()> m_returnFocus;
    bool m_mixerOpen = false;
    bool m_mixerReportDue = false;
    quillory::VolumeControl m_volumeControl;
    quillory::VolumeSlider m_volumeSlider;
    quillory::ReadoutFade m_fade;
    QString m_volumeTag;            // the knob's tag: the raw value as digits
    std::int64_t m_volumeValue = 0; // the value last applied
    int m_knobButton = 0;
    double m_knobTarget = 0;
    QColor m_readoutColor = Qt::white;
};
