#include "mpris_service.h"

#include "contracts/desktop_player.h"
#include "contracts/player_commands.h"
#include "desktop/mpris_adaptors.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace quillory {

namespace {
constexpr int PollMs = 250;
// Playback running on drifts from the clock by far less than this.
constexpr qint64 JumpToleranceMs = 1000;
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString NoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
} // namespace

MprisService::MprisService(PlayerCommands &commands, DesktopPlayer &player, QObject *parent)
    : QObject(parent), m_commands(commands), m_player(player),
      m_connection(QStringLiteral("quillory-none"))
{
    new MprisRootAdaptor(this, *this);
    new MprisPlayerAdaptor(this, *this);
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &MprisService::refresh);
}

MprisService::~MprisService()
{
    if (m_registeredName.isEmpty())
        return;
    m_connection.unregisterObject(QString::fromLatin1(ObjectPath));
    m_connection.unregisterService(m_registeredName);
}

void MprisService::setHooks(const MprisHooks &hooks)
{
    m_hooks = hooks;
}

bool MprisService::registerOn(const QDBusConnection &connection)
{
    if (!connection.isConnected())
        return false;
    m_connection = connection;
    if (!m_connection.registerObject(QString::fromLatin1(ObjectPath), this,
                                     QDBusConnection::ExportAdaptors))
        return false;
    // A second running program takes a name of its own, as the MPRIS
    // convention for several instances has it.
    const QString names[] = {QString::fromLatin1(ServiceName),
                             QString::fromLatin1(ServiceName) + QStringLiteral(".instance") +
                                 QString::number(QCoreApplication::applicationPid())};
    for (const QString &name : names) {
        if (m_connection.registerService(name)) {
            m_registeredName = name;
            break;
        }
    }
    if (m_registeredName.isEmpty()) {
        m_connection.unregisterObject(QString::fromLatin1(ObjectPath));
        return false;
    }
    m_seen = snapshot();
    m_lastPositionMs = m_player.hasMedia() ? m_player.positionMs() : 0;
    m_lastPlaying = m_seen.status == QLatin1String("Playing");
    m_sinceLast.start();
    followPlayback(m_lastPlaying);
    return true;
}

QStringList MprisService::supportedMimeTypes()
{
    // The types of the player's open filter, as the launcher entry lists them.
    return QStringLiteral(
               "audio/mpeg;audio/x-mp3;audio/x-wav;audio/wav;audio/vnd.wave;audio/ogg;"
               "audio/x-vorbis+ogg;audio/x-ms-wma;audio/mp4;audio/x-m4a;audio/flac;audio/x-flac;"
               "audio/x-opus+ogg;audio/aac;audio/AMR;audio/x-aiff;video/x-msvideo;video/vnd.avi;"
               "video/mpeg;video/ogg;video/x-ms-wmv;video/mp4;video/x-matroska;video/webm;"
               "video/quicktime;video/x-m4v;video/3gpp")
        .split(QLatin1Char(';'));
}

bool MprisService::hasMedia()
{
    return m_player.hasMedia();
}

QString MprisService::playbackStatus()
{
    if (!m_player.hasMedia())
        return QStringLiteral("Stopped");
    if (m_player.isPlaying() || m_player.mediaPath() != m_stoppedPath)
        m_stopped = false;
    if (m_player.isPlaying())
        return QStringLiteral("Playing");
    return m_stopped ? QStringLiteral("Stopped") : QStringLiteral("Paused");
}

QDBusObjectPath MprisService::trackId()
{
    const QString path = m_player.hasMedia() ? m_player.mediaPath() : QString();
    if (path.isEmpty())
        return QDBusObjectPath(NoTrack);
    if (path != m_trackPath) {
        m_trackPath = path;
        ++m_trackNumber;
    }
    return QDBusObjectPath(QStringLiteral("/org/quillory/Quillory/track/") +
                           QString::number(m_trackNumber));
}

QVariantMap MprisService::metadata()
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId()));
    if (!m_player.hasMedia() || m_player.mediaPath().isEmpty())
        return map;
    const QString path = m_player.mediaPath();
    map.insert(QStringLiteral("mpris:length"), qlonglong(m_player.lengthMs()) * 1000);
    map.insert(QStringLiteral("xesam:title"), QFileInfo(path).fileName());
    map.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    return map;
}

qlonglong MprisService::positionUs()
{
    return m_player.hasMedia() ? qlonglong(m_player.positionMs()) * 1000 : 0;
}

double MprisService::rate()
{
    const double r = m_hooks.rate ? m_hooks.rate() : 1.0;
    return std::isfinite(r) && r > 0 ? r : 1.0;
}

void MprisService::setRate(double rate)
{
    if (!std::isfinite(rate))
        return;
    if (rate <= 0) {
        pause();
        return;
    }
    if (!m_hooks.setRate)
        return;
    m_hooks.setRate(std::clamp(rate, MinimumRate, MaximumRate));
    refresh();
}

double MprisService::volume()
{
    const std::optional<double> v = m_hooks.volume ? m_hooks.volume() : std::nullopt;
    return v && std::isfinite(*v) ? std::clamp(*v, 0.0, 1.0) : 1.0;
}

void MprisService::setVolume(double volume)
{
    if (!std::isfinite(volume) || !m_hooks.setVolume || !m_hooks.volume || !m_hooks.volume())
        return;
    m_hooks.setVolume(std::clamp(volume, 0.0, 1.0));
    refresh();
}

bool MprisService::canGoNext()
{
    return m_player.hasMedia() && m_hooks.canGoNext && m_hooks.next && m_hooks.canGoNext();
}

bool MprisService::canGoPrevious()
{
    return m_player.hasMedia() && m_hooks.canGoPrevious && m_hooks.previous &&
           m_hooks.canGoPrevious();
}

void MprisService::play()
{
    if (m_player.hasMedia() && !m_player.isPlaying())
        m_commands.playOrPause();
    refresh();
}

void MprisService::pause()
{
    if (m_player.hasMedia() && m_player.isPlaying())
        m_commands.playOrPause();
    refresh();
}

void MprisService::playPause()
{
    if (m_player.hasMedia())
        m_commands.playOrPause();
    refresh();
}

void MprisService::stop()
{
    if (m_player.hasMedia()) {
        m_player.stop();
        m_stopped = true;
        m_stoppedPath = m_player.mediaPath();
    }
    refresh();
}

void MprisService::next()
{
    if (canGoNext())
        m_hooks.next();
    refresh();
}

void MprisService::previous()
{
    if (canGoPrevious())
        m_hooks.previous();
    refresh();
}

void MprisService::moveTo(qint64 ms)
{
    m_player.seekTo(ms);
    noteSeek(m_player.positionMs());
}

void MprisService::noteSeek(qint64 ms)
{
    m_lastPositionMs = ms;
    m_lastPlaying = m_player.isPlaying();
    m_sinceLast.restart();
    emit seeked(qlonglong(ms) * 1000);
}

void MprisService::seek(qlonglong offsetUs)
{
    if (!m_player.hasMedia())
        return;
    const qint64 length = m_player.lengthMs();
    // In whole milliseconds, rounded toward the start; past the end stops at the
    // end rather than skipping to another bookmark.
    const double target = double(m_player.positionMs()) + double(offsetUs) / 1000.0;
    qint64 ms = target <= 0 ? 0 : static_cast<qint64>(std::floor(std::min(target, double(length))));
    moveTo(ms);
    refresh();
}

void MprisService::setPosition(const QDBusObjectPath &track, qlonglong positionUs)
{
    if (!m_player.hasMedia() || track.path() != trackId().path() || positionUs < 0)
        return;
    const qint64 ms = positionUs / 1000;
    if (ms > m_player.lengthMs())
        return;
    moveTo(ms);
    refresh();
}

void MprisService::openUri(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return;
    const QString path = url.toLocalFile();
    if (!QFileInfo(path).isFile())
        return;
    // The call is answered first: an open may ask or tell the user something
    // in a modal box, which inside the call would keep the caller waiting
    // until its bus timeout.
    // MPRIS asks for the file to play, also when another was playing and the
    // open left the new one paused.
    QTimer::singleShot(0, this, [this, path] {
        m_player.openMedia(path);
        const bool opened =
            m_player.hasMedia() && QFileInfo(m_player.mediaPath()).canonicalFilePath() ==
                                       QFileInfo(path).canonicalFilePath();
        if (opened && !m_player.isPlaying())
            m_commands.playOrPause();
        refresh();
    });
}

void MprisService::raise()
{
    m_player.raiseWindows();
}

void MprisService::quit()
{
    m_commands.quitProgram();
}

MprisService::Snapshot MprisService::snapshot()
{
    Snapshot s;
    s.status = playbackStatus();
    s.media = m_player.hasMedia();
    s.path = s.media ? m_player.mediaPath() : QString();
    s.lengthMs = s.media ? m_player.lengthMs() : 0;
    s.canNext = canGoNext();
    s.canPrevious = canGoPrevious();
    s.rate = rate();
    s.volume = volume();
    return s;
}

void MprisService::refresh()
{
    if (m_registeredName.isEmpty())
        return;
    const Snapshot now = snapshot();
    QVariantMap changed;
    if (now.status != m_seen.status)
        changed.insert(QStringLiteral("PlaybackStatus"), now.status);
    if (now.path != m_seen.path || now.lengthMs != m_seen.lengthMs)
        changed.insert(QStringLiteral("Metadata"), metadata());
    if (now.media != m_seen.media) {
        for (const char *name : {"CanPlay", "CanPause", "CanSeek"})
            changed.insert(QString::fromLatin1(name), now.media);
    }
    if (now.canNext != m_seen.canNext)
        changed.insert(QStringLiteral("CanGoNext"), now.canNext);
    if (now.canPrevious != m_seen.canPrevious)
        changed.insert(QStringLiteral("CanGoPrevious"), now.canPrevious);
    const bool rateChanged = now.rate != m_seen.rate;
    if (rateChanged)
        changed.insert(QStringLiteral("Rate"), now.rate);
    if (now.volume != m_seen.volume)
        changed.insert(QStringLiteral("Volume"), now.volume);
    m_seen = now;
    if (!changed.isEmpty())
        announce(changed);

    // A jump made elsewhere (the function keys, the position bar, a pause's
    // rewind) is a seek for the clients that draw a position.
    const bool playing = now.status == QLatin1String("Playing");
    const qint64 position = now.media ? m_player.positionMs() : 0;
    const qint64 expected =
        m_lastPositionMs + (m_lastPlaying && playing ? m_sinceLast.elapsed() : 0);
    const bool jumped = now.media && std::llabs(position - expected) > JumpToleranceMs;
    const bool movedWhilePaused =
        now.media && !playing && !m_lastPlaying && position != m_lastPositionMs;
    m_lastPositionMs = position;
    m_lastPlaying = playing;
    m_sinceLast.restart();
    // Clients run the position on at the rate; a new rate sets them again.
    if (jumped || movedWhilePaused || (rateChanged && now.media))
        emit seeked(qlonglong(position) * 1000);
    followPlayback(playing);
}

void MprisService::followPlayback(bool playing)
{
    // Playing, a jump made elsewhere shows only as a position off its course;
    // paused or stopped, every change comes with a refresh from its cause.
    if (!playing)
        m_poll.stop();
    else if (!m_poll.isActive())
        m_poll.start();
}

void MprisService::announce(const QVariantMap &changed)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    m_connection.send(signal);
}

} // namespace quillory
