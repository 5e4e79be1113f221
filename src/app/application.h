#pragma once

#include "platform/media/media_control.h"
#include "platform/mixer/alsa_mixer.h"
#include "platform/services/choice_boxes.h"
#include "platform/services/color_dialogs.h"
#include "platform/services/desktop_links.h"
#include "platform/services/print_system.h"
#include "platform/services/qt_services.h"
#include "platform/services/sound_settings.h"

#include <functional>
#include <memory>

class FindDialogLauncher;
class WaveformPanel;
class Form1;
class Form2;
class CaretRest;
namespace quillory {
class MpvMediaEngine;
class DesktopPlayer;
class MprisService;
class PedalController;
class PedalSource;
class FootPedals;
class MpvVideoRenderer;
class VideoWindow;
class RecoverySession;
class PlayerSession;
} // namespace quillory
class FirstPaintSteps;

// The composition root: owns the services, the media device and the windows,
// and makes the connections between them.
class Application {
public:
    // `beforeFirstText` runs before the first text is measured: the windows
    // are built meanwhile, the fonts' configuration still being read.
    explicit Application(const std::function<void()> &beforeFirstText = {});
    ~Application();
    // Starts the player with the command line (one media file path, may be empty).
    void start(const QString &commandLine);
    // Runs `step` once the player's first frame is on screen (after start).
    void afterFirstFrame(std::function<void()> step);
    // A later start's media file (empty: none): the windows come up and the
    // file opens as the Open command would open it.
    void openHandedOver(const QString &path);
    // What the editor's Find and Replace commands call to open the find and
    // replace dialog (whose mode is the editor window's tag).
    std::function<void()> findDialogOpener(Form2 &editor);

private:
    Form2 *buildEditor();
    // Media keys and foot pedals (application_desktop.cpp).
    void startDesktop();
    // The video window and its View menu item (application_video.cpp).
    void startVideo();
    // The waveform strip under the player's controls and its View menu item
    // (application_waveform.cpp).
    void startWaveform();
    // The recovery journal and the offer of copies left behind (application_recovery.cpp).
    void startRecovery(const QString &commandLine);

    quillory::QtMessageBoxes m_messages;
    quillory::QtInputBoxes m_inputs;
    quillory::QtFileDialogs m_fileDialogs;
    quillory::X11WindowSwitcher m_switcher;
    quillory::SystemLocaleInfo m_locale;
    quillory::AlsaMixer m_mixer;
    quillory::QtDesktopLinks m_links;
    quillory::DesktopSoundSettings m_soundSettings;
    quillory::MpvMediaEngine *m_engine = nullptr; // owned by m_media
    quillory::QtColorDialogs m_colorDialogs;
    quillory::QtPrintSystem m_printing;
    std::unique_ptr<quillory::MediaControl> m_media;
    std::unique_ptr<quillory::PlayerSession> m_session;
    std::unique_ptr<Form1> m_player;
    std::unique_ptr<Form2> m_editor; // built on the player's first need of it
    std::unique_ptr<CaretRest> m_caretRest;
    bool m_ended = false;
    FirstPaintSteps *m_afterFirstFrame = nullptr; // owned by the player window
    std::unique_ptr<quillory::DesktopPlayer> m_desktopPlayer;
    std::unique_ptr<quillory::MprisService> m_mpris;
    std::unique_ptr<quillory::PedalController> m_pedalController;
    std::unique_ptr<quillory::PedalSource> m_pedalSource;
    std::unique_ptr<quillory::FootPedals> m_footPedals;
    quillory::Services m_services;
    std::unique_ptr<FindDialogLauncher> m_find;
    std::shared_ptr<quillory::MpvVideoRenderer> m_videoRenderer; // shared with the engine
    std::unique_ptr<quillory::VideoWindow> m_videoWindow;
    quillory::QtChoiceBoxes m_choices;
    std::unique_ptr<quillory::RecoverySession> m_recovery;
    // Goes before the player, whose window holds the strip.
    std::unique_ptr<WaveformPanel> m_waveform;
};
