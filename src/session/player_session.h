#pragma once

#include "platform/files/file_stamp.h"
#include "platform/media/media_control.h"
#include "session/bookmark_entries.h"
#include "session/playback_speed.h"
#include "session/recent_list.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quillory {

enum class PlayState { NotPlaying, Playing };

// The one player of the program: it owns the media device (through its command
// strings), the play state, the transport rules, speed and loop, and the open
// sequence with the media file's bookmark table and the recent list. Windows,
// media keys and pedals call it and learn what changed from its signals, so
// they never disagree about what plays, where and which file.
class PlayerSession : public QObject {
    Q_OBJECT
public:
    static constexpr int DisplayIntervalMs = 10;

    explicit PlayerSession(MediaControl &media, QObject *parent = nullptr);

    // --- the transport settings (kept in the settings file by the player window)
    std::int32_t jumpSeconds() const { return m_jumpSeconds; }
    void setJumpSeconds(std::int32_t seconds) { m_jumpSeconds = seconds; }
    std::int16_t pauseRewindSeconds() const { return m_pauseRewindSeconds; }
    void setPauseRewindSeconds(std::int16_t seconds) { m_pauseRewindSeconds = seconds; }
    void setLoopSeconds(int seconds) { m_loopSeconds = seconds; }

    // --- what plays, where
    PlayState playState() const { return m_state; }
    // A file is open on the device.
    bool hasMedia();
    // The path of the last open (kept after a close, as the file label is).
    const QString &mediaPath() const { return m_mediaPath; }
    // The device's position in milliseconds; 0 when it does not answer.
    double position();
    // The open file's length; nothing when no file is open.
    std::optional<double> length();
    // The display tick runs while playing and catches the end of the media.
    bool isTicking() const { return m_tick.isActive(); }
    // Until the next tick: DisplayIntervalMs, or a whole number of them up to
    // the next moment a display would change (see addDisplay).
    int tickInterval() const { return m_tick.interval(); }
    // How much media time from a position a display of it takes to show
    // something else (infinite while it shows nothing, e.g. hidden).
    using DisplayHorizon = std::function<double(double positionMs, double lengthMs)>;
    // A display of positionShown tells how far ahead it would change; the tick
    // then sleeps until the nearest change of any display or the end of the
    // media, on the DisplayIntervalMs grid, so it shows the same values at the
    // same moments as a tick every DisplayIntervalMs. Forgotten with `owner`.
    void addDisplay(const QObject *owner, DisplayHorizon horizon);

    // --- opening and closing
    // Opens `path` (an ordinary file the caller has checked): the outgoing
    // file's bookmarks are saved, the device opens the file and plays it, the
    // recent list takes it, and its bookmarks are read. A device error is told
    // by openFailed; the sequence goes on unless the program ended meanwhile.
    void open(const QString &path);
    // The same sequence without waiting for the device: it runs up to the
    // device's open at once and goes on once the device has the file, then
    // runs `thenOpened` if the device opened it. A close or another open
    // meanwhile abandons it. Until then the transport does nothing: there is
    // no file to move, and the open starts playback itself.
    void openInBackground(const QString &path, std::function<void()> thenOpened = {});
    // An openInBackground is waiting for the device.
    bool isOpening() const;
    void close();
    // Back to the start, as the program leaves it at its close.
    void rewindQuietly();
    // The program ends: the tick stops and a sequence in flight goes no further.
    void end();

    // --- the transport
    // Play, or pause with the rewind by pauseRewindSeconds.
    void playPause();
    // Back to the start, paused.
    void stop();
    // Jumps by jumpSeconds: playing plays on from there, paused only moves.
    void jumpForward();
    void jumpBack();
    // One display tick: the end of the media rewinds and pauses; the position
    // is shown.
    void tick();
    // At the end of the media (`totalMs` long): back to the start, paused.
    bool rewindAtEnd(double totalMs);
    // A click on the position bar at `ms` (nothing when the pointer gave none):
    // playing plays from there, paused moves a pause rewind before it.
    void playFromBar(std::optional<std::int64_t> ms);
    // Bookmarks and timestamps: playing plays on a pause rewind before `ms`;
    // paused moves there and stays paused, without a sound.
    void playFromMark(std::int64_t ms);
    // A timestamp of the transcript; false with no media open or past the
    // recording's end (a timestamp of another recording).
    bool playFromTimestamp(std::int64_t ms);
    // Moves to `ms` and keeps playing or paused as it was (media keys).
    void seekKeepingState(std::int64_t ms);
    // Stopped at `ms` (0 when at or past the end), the tick at rest: a
    // recovered session resumes with the play key.
    void restAt(std::int64_t ms);

    // --- speed and the loop
    PlaybackSpeed speed() const { return m_speed; }
    // Applies a stored speed at start; a device without speed control keeps 1.0x.
    void restoreSpeed(PlaybackSpeed speed);
    // Changes the speed; true when it changed (the caller stores it).
    bool changeSpeed(PlaybackSpeed speed);
    bool isLooping() const;
    // The loop key: starts the loop over the last seconds, or ends it.
    void toggleLoop();
    void endLoop();

    // --- the bookmark table of the open file
    BookmarkEntries &bookmarks() { return m_bookmarks; }
    // Whoever edits the table in place says so, so that every view of the
    // bookmarks redraws from it instead of polling.
    void noteBookmarksEdited() { emit bookmarksChanged(); }
    // Writes the table under the media file it was read for.
    void saveBookmarks();
    // The next or previous bookmark from the position, played as playFromMark.
    enum class BookmarkJump { NoMedia, NoBookmark, Moved };
    BookmarkJump goToBookmark(bool forward);

    // --- the recent media files
    const RecentList &recentFiles() const { return m_recent; }
    // Reads the list at start; true when it names at least one file.
    bool loadRecentFiles(const QString &path);
    void setRecentFilesPath(const QString &path) { m_recentPath = path; }

signals:
    void playStateChanged(PlayState state);
    // Every Play/Pause ends here, also those the session runs itself (the end
    // of the media, an open): the window hands the keyboard back.
    void playPauseDone();
    void positionShown(double positionMs, double lengthMs);
    // No file answers: nothing to show.
    void positionCleared();
    void opening(const QString &path);
    void openFailed(std::uint32_t code);
    // The device has the file and plays it; the transport can be used.
    void transportReady();
    void mediaOpened(const QString &path);
    void mediaClosed();
    // The outgoing file's bookmarks have been saved; the list shows none now.
    void bookmarksLeft(bool hadBookmarks);
    // The incoming file has a bookmark file, about to be read into the table.
    void bookmarkFileFound();
    void bookmarksLoaded();
    // The bookmark list added or removed bookmarks in the table.
    void bookmarksChanged();
    // The bookmarks could not be written (a full disk, no permission); `reason`
    // names the file and the cause. They are still in the table.
    void bookmarksNotSaved(const QString &reason);
    void speedChanged(PlaybackSpeed speed);
    void loopChanged(bool looping);

private:
    std::uint32_t send(const QString &command);
    static QString openCommand(const QString &path);
    void beginOpen(const QString &path);
    void finishOpen(const QString &path, std::uint32_t code);
    void playFrom(std::int64_t ms);
    void startPlaying();
    void setState(PlayState state);
    void saveOutgoingBookmarks();
    void loadIncomingBookmarks();
    void mergeBookmarksSavedElsewhere(const QString &path);
    void rememberBookmarkFile(const QString &path);
    void jumpBy(double deltaMs);
    bool rewindAtEnd(double totalMs, double positionMs);
    // Sets the running tick to the next moment a display may change.
    void planNextTick(double positionMs, double lengthMs);
    // Shows where the device rests, or clears the display without a file.
    void showStill();
    // Moves while paused; the device plays nothing.
    void seekSilently(std::int64_t ms);
    void pauseBefore(std::int64_t ms);

    MediaControl &m_media;
    QTimer m_tick;
    struct Display {
        QPointer<const QObject> owner;
        DisplayHorizon horizon;
    };
    std::vector<Display> m_displays;
    PlayState m_state = PlayState::NotPlaying;
    QString m_mediaPath;
    bool m_ended = false;
    std::int32_t m_jumpSeconds = 5;
    std::int16_t m_pauseRewindSeconds = 0;
    int m_loopSeconds = LoopRange::DefaultSeconds;
    PlaybackSpeed m_speed;
    BookmarkEntries m_bookmarks;
    QString m_bookmarkMediaPath;
    // The .bm file as last read or written here, to merge in what another
    // program saved to it meanwhile.
    std::optional<FileStamp> m_bookmarkFileStamp;
    QStringList m_bookmarksAsStored;
    RecentList m_recent;
    QString m_recentPath;
};

} // namespace quillory
