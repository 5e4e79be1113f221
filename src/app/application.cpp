#include "application.h"

#include "app/app_icon.h"
#include "app/first_paint.h"
#include "app/recovery_session.h"
#include "app/startup_marks.h"
#include "bookmarks/form3.h"
#include "contracts/desktop_player.h"
#include "desktop/foot_pedals.h"
#include "desktop/mpris_service.h"
#include "desktop/pedal_controller.h"
#include "desktop/pedal_source.h"
#include "editor/caret_rest.h"
#include "editor/form2.h"
#include "find/find_dialog_launcher.h"
#include "platform/files/preferences.h"
#include "platform/mpv/audio_output_choice.h"
#include "platform/mpv/mpv_media_engine.h"
#include "player/form1.h"
#include "player/picture_preload.h"
#include "player/waveform_panel.h"
#include "session/player_session.h"
#include "video/mpv_video_renderer.h"
#include "video/video_window.h"

#include <QApplication>
#include <QIcon>

using namespace quillory;

Application::Application(const std::function<void()> &beforeFirstText)
{
    // The player's pictures are decoded meanwhile, on a worker of their own.
    PicturePreload::start(Form1::firstFramePictures());
    // libmpv loads and starts on a worker thread once the player window is on
    // screen (loading it earlier holds the dynamic loader, which the window
    // needs for Qt's plugins, and competes for the processor).
    MpvEngineOptions engineOptions;
    engineOptions.startLater = true;
    engineOptions.audioOutput = audioOutputChoice(Preferences::shared().text("audio.output"));
    engineOptions.videoHost = m_videoRenderer = std::make_shared<MpvVideoRenderer>();
    auto engine = std::make_unique<MpvMediaEngine>(engineOptions);
    m_engine = engine.get();
    m_media = std::make_unique<MediaControl>(std::move(engine));
    Services services;
    services.messages = &m_messages;
    services.inputs = &m_inputs;
    services.fileDialogs = &m_fileDialogs;
    services.windowSwitcher = &m_switcher;
    services.locale = &m_locale;
    services.mixer = &m_mixer;
    services.links = &m_links;
    services.soundSettings = &m_soundSettings;
    services.colorDialogs = &m_colorDialogs;
    services.printing = &m_printing;
    services.choices = &m_choices;
    m_session = std::make_unique<PlayerSession>(*m_media);
    m_services = services;
    m_player = std::make_unique<Form1>(*m_session, services);
    m_player->setEditorFactory([this] { return buildEditor(); });
    m_player->setBookmarkWindowFactory([this, services] {
        return std::make_unique<Form3>(*m_session, services, m_player->languageTable(),
                                       m_player->bookmarkHost());
    });
    QObject::connect(m_player.get(), &Form1::programEnded, qApp, &QApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(m_player.get(), &Form1::programEnded, [this] { m_ended = true; });
    // The strip's size pass measures the menu bar's text: the first use of the
    // fonts. Nothing before it touches them (a second reading of the fonts'
    // configuration would only be wasted, not wrong).
    if (beforeFirstText)
        beforeFirstText();
    startVideo();
    startWaveform();
}

Form2 *Application::buildEditor()
{
    m_editor = std::make_unique<Form2>(m_player->commands(), m_player->languageTable(), m_services);
    m_caretRest = std::make_unique<CaretRest>();
    // The editor's Find and Replace open one dialog, created on first use.
    m_editor->setFindDialogOpener(findDialogOpener(*m_editor));
    return m_editor.get();
}

Application::~Application()
{
    m_recovery.reset();
    m_waveform.reset();
    // The desktop parts hold references to the player: they go first.
    m_footPedals.reset();
    m_pedalSource.reset();
    m_pedalController.reset();
    m_mpris.reset();
    m_desktopPlayer.reset();
    PicturePreload::finish();
}

void Application::start(const QString &commandLine)
{
    // What the player's first frame does not show waits for it, then runs in
    // this order: the mixer is looked for on a worker, the installed icon (so
    // the editor comes up with it), the editor is built and comes up and the
    // master volume is read (Form_Load hands both over), then libmpv loads on
    // its worker (loading holds the dynamic loader, which the windows may
    // still need). Looking for the mixer through ALSA's plugin keeps the sound
    // server and a core busy, which the first frame would otherwise share.
    auto *afterFirstFrame = m_afterFirstFrame = new FirstPaintSteps(m_player.get());
    afterFirstFrame->add([] { markStartup("first-frame"); });
    afterFirstFrame->add([this] { m_mixer.openInBackground(); });
    afterFirstFrame->add([] {
        setInstalledAppIcon(QStringLiteral("org.quillory.Quillory"),
                            appIconDataFolders(QCoreApplication::applicationDirPath()));
    });
    m_player->setAfterFirstFrame(
        [afterFirstFrame](std::function<void()> step) { afterFirstFrame->add(std::move(step)); });
    // The recovery journal follows the editor from the moment it is built, so
    // it also sees what was typed before it came up.
    const auto startJournal = [this, commandLine] {
        if (!m_ended)
            startRecovery(commandLine);
    };
    const bool editorBuilt = m_player->editorIfBuilt() != nullptr;
    if (!editorBuilt)
        QObject::connect(m_player.get(), &Form1::editorBuilt, m_player.get(), startJournal,
                         Qt::SingleShotConnection);
    if (commandLine.trimmed().isEmpty()) {
        m_player->Form_Load(commandLine);
    } else {
        // The window comes up now; the file named on the command line opens as
        // soon as the media engine has started (or reports that it could not),
        // unless the user has opened one in the meantime.
        m_player->Form_Load(QString());
        auto openCommandLineFile = [this, commandLine] {
            if (!m_ended && m_player->mediaPath().isEmpty()) {
                m_player->OpenMediaFile(commandLine, [] { markStartup("media-length-shown"); });
            }
        };
        if (!m_engine->isStarting())
            openCommandLineFile();
        else
            QObject::connect(m_engine, &MpvMediaEngine::started, m_player.get(),
                             openCommandLineFile, Qt::QueuedConnection);
    }
    MpvMediaEngine *engine = m_engine;
    afterFirstFrame->add([engine] {
        engine->startInBackground();
        // No installed picture was found: an icon theme may still have one.
        if (QApplication::windowIcon().isNull())
            QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.quillory.Quillory")));
    });
    // The session bus (and with it media keys and pedals) waits for the frame
    // too: connecting takes several round trips, and without a bus, longer.
    afterFirstFrame->add([this] {
        if (!m_ended)
            startDesktop();
    });
    if (editorBuilt)
        startJournal();
}

void Application::afterFirstFrame(std::function<void()> step)
{
    m_afterFirstFrame->add(std::move(step));
}

std::function<void()> Application::findDialogOpener(Form2 &editor)
{
    Form2 *form = &editor;
    FindDialogLauncher::Editor target{form->searchedText(), form,
                                      [form] { return form->findMode(); },
                                      [form] { form->focusEditor(); }};
    m_find = std::make_unique<FindDialogLauncher>(
        std::move(target), m_player->languageTable(), m_services,
        [this](CompanionWindow *window) { m_player->addCompanionWindow(window); });
    return [this] { m_find->open(); };
}
