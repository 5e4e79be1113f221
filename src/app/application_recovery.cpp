#include "app/application.h"
#include "app/recovery_session.h"
#include "platform/mpv/mpv_media_engine.h"
#include "player/form1.h"

#include <QTimer>

using namespace quillory;

void Application::startRecovery(const QString &commandLine)
{
    m_recovery = std::make_unique<RecoverySession>(*m_player, *m_editor, m_services);
    // A file named on the command line is what the user asked for now: a
    // restored session then brings back its text only.
    const bool mediaFromCommandLine = !commandLine.trimmed().isEmpty();
    m_recovery->setMediaReady([this, mediaFromCommandLine](std::function<void()> step) {
        if (mediaFromCommandLine || m_ended)
            return;
        if (!m_engine->isStarting())
            step();
        else
            QObject::connect(m_engine, &MpvMediaEngine::started, m_player.get(), step,
                             Qt::QueuedConnection);
    });
    // Asked once the windows are up, from the event loop.
    QTimer::singleShot(0, m_player.get(), [this] {
        if (!m_ended)
            m_recovery->offerLeftCopies();
    });
}
