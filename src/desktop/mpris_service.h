#pragma once

#include "session/playback_speed.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <functional>
#include <optional>

class PlayerCommands;

namespace quillory {

class DesktopPlayer;

// Commands and facts that other parts of the program provide once they exist:
// the next and previous bookmark, the playback speed and the player's volume.
// Unset ones mean "not available" (no bookmark to go to, speed 1.0 that
// cannot change, full volume that cannot change).
struct MprisHooks {
    std::function<bool()> canGoNext;
    std::function<bool()> canGoPrevious;
    std::function<void()> next;
    std::function<void()> previous;
    std::function<double()> rate;
    // Given a speed within MinimumRate to MaximumRate.
    std::function<void(double)> setRate;
    // 0.0 to 1.0 of the volume slider's range; nothing without a volume control.
    std::function<std::optional<double>()> volume;
    std::function<void(double)> setVolume;
};

// The player on the session bus as "org.mpris.MediaPlayer2.quillory", so media
// keys, desktop panels and playerctl drive it. Play, Pause, PlayPause and Stop
// run the player's own commands (a pause rewinds as the play key does); times
// are in microseconds on the bus. The player has no change notifications of its
// own, so a short poll compares what clients see and announces the differences.
class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char *ServiceName = "org.mpris.MediaPlayer2.quillory";
    static constexpr const char *ObjectPath = "/org/mpris/MediaPlayer2";

    MprisService(PlayerCommands &commands, DesktopPlayer &player, QObject *parent = nullptr);
    ~MprisService() override;

    void setHooks(const MprisHooks &hooks);

    // Puts the player on the bus; false when there is no bus or the name and the
    // per-process fallback name are both taken. The program runs on without it.
    bool registerOn(const QDBusConnection &connection);
    QString registeredName() const { return m_registeredName; }

    // Compares the state with what clients last saw and announces the changes.
    // The service polls itself only while playing; whoever changes the
    // player otherwise calls this.
    void refresh();
    bool isPolling() const { return m_poll.isActive(); }

    // --- the bus interfaces, called by the adaptors
    QString playbackStatus();
    QVariantMap metadata();
    qlonglong positionUs();
    double rate();
    // A rate of 0 pauses, as MPRIS asks; others are brought into the speed range.
    void setRate(double rate);
    double volume();
    void setVolume(double volume);
    bool canGoNext();
    bool canGoPrevious();
    bool hasMedia();
    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void seek(qlonglong offsetUs);
    void setPosition(const QDBusObjectPath &track, qlonglong positionUs);
    void openUri(const QString &uri);
    void raise();
    void quit();

    static QStringList supportedMimeTypes();
    static constexpr double MinimumRate = PlaybackSpeed::MinHundredths / 100.0;
    static constexpr double MaximumRate = PlaybackSpeed::MaxHundredths / 100.0;

signals:
    void seeked(qlonglong positionUs);

private:
    void followPlayback(bool playing);
    struct Snapshot {
        QString status;
        QString path;
        qint64 lengthMs = 0;
        bool media = false;
        bool canNext = false;
        bool canPrevious = false;
        double rate = 1.0;
        double volume = 1.0;
    };
    Snapshot snapshot();
    QDBusObjectPath trackId();
    void announce(const QVariantMap &changed);
    void moveTo(qint64 ms);
    void noteSeek(qint64 ms);

    PlayerCommands &m_commands;
    DesktopPlayer &m_player;
    MprisHooks m_hooks;
    QDBusConnection m_connection;
    QString m_registeredName;
    QTimer m_poll;
    Snapshot m_seen;
    // For telling a jump from playback running on.
    qint64 m_lastPositionMs = 0;
    bool m_lastPlaying = false;
    QElapsedTimer m_sinceLast;
    QString m_trackPath;
    int m_trackNumber = 0;
    // Stop leaves the file open at its start; clients are told "Stopped" until
    // playback starts again or another file opens.
    bool m_stopped = false;
    QString m_stoppedPath;
};

} // namespace quillory
