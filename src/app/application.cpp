#include "application.h"

#include "bookmarks/form3.h"
#include "desktop/desktop_player.h"
#include "desktop/foot_pedals.h"
#include "desktop/mpris_service.h"
#include "desktop/pedal_controller.h"
#include "desktop/pedal_source.h"
#include "platform/mpv/mpv_media_engine.h"
#include "player/form1.h"

#include <QApplication>

using namespace quillory;

Application::Application()
{
    m_media = std::make_unique<MediaControl>(std::make_unique<MpvMediaEngine>());
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
    m_player = std::make_unique<Form1>(*m_media, services);
    m_player->setBookmarkWindowFactory([this, services] {
        return std::make_unique<Form3>(*m_media, services, m_player->languageTable(),
                                       m_player->bookmarkEntries(), *m_player, *m_player);
    });
    QObject::connect(m_player.get(), &Form1::programEnded, qApp, &QApplication::quit,
                     Qt::QueuedConnection);
}

Application::~Application()
{
    // The desktop parts hold references to the player: they go first.
    m_footPedals.reset();
    m_pedalSource.reset();
    m_pedalController.reset();
    m_mpris.reset();
    m_desktopPlayer.reset();
}

void Application::start(const QString &commandLine)
{
    m_player->Form_Load(commandLine);
    startDesktop();
}
