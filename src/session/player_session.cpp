#include "player_session.h"

#include "platform/files/text_file.h"
#include "session/bookmark_file.h"
#include "session/bookmark_merge.h"
#include "session/bookmark_navigation.h"

#include <QPointer>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace quillory {

namespace {
constexpr int ReplyLength = 127;
// The device takes one file at a time, under this alias.
const QString Alias = QStringLiteral("wav1");

// A reply of the device: a count of milliseconds in decimal digits.
double milliseconds(const std::array<char, ReplyLength> &reply)
{
    std::int64_t ms = 0;
    const char *end = std::find(reply.begin(), reply.end(), '\0');
    std::from_chars(reply.data(), end, ms);
    return static_cast<double>(ms);
}

QString command(const char *verb, const QString &rest = QString())
{
    QString text = QLatin1String(verb) + QLatin1Char(' ') + Alias;
    if (!rest.isEmpty())
        text += QLatin1Char(' ') + rest;
    return text;
}
} // namespace

PlayerSession::PlayerSession(MediaControl &media, QObject *parent) : QObject(parent), m_media(media)
{
    m_tick.setObjectName(QStringLiteral("Timer1"));
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(DisplayIntervalMs);
    connect(&m_tick, &QTimer::timeout, this, &PlayerSession::tick);
}

std::uint32_t PlayerSession::send(const QString &text)
{
    return m_media.sendString(text, nullptr, 0);
}

bool PlayerSession::hasMedia()
{
    // The device answers for the alias exactly while a file is open under it;
    // asked without a command, since media keys poll this several times a second.
    return !m_media.alias().isEmpty();
}

// The display asks for the position and the length at every tick: their
// commands are composed once.
double PlayerSession::position()
{
    static const QString ask = command("status", QStringLiteral("position"));
    std::array<char, ReplyLength> reply{};
    if (m_media.sendString(ask, reply.data(), ReplyLength) != 0)
        return 0;
    return milliseconds(reply);
}

std::optional<double> PlayerSession::length()
{
    static const QString ask = command("status", QStringLiteral("length"));
    std::array<char, ReplyLength> reply{};
    if (m_media.sendString(ask, reply.data(), ReplyLength) != 0)
        return std::nullopt;
    return milliseconds(reply);
}

void PlayerSession::playFrom(std::int64_t ms)
{
    send(command("play", QStringLiteral("from ") + QString::number(ms)));
}

void PlayerSession::setState(PlayState state)
{
    m_state = state;
    emit playStateChanged(state);
}

// ---------------------------------------------------------------- opening

void PlayerSession::open(const QString &path)
{
    beginOpen(path);
    finishOpen(path, send(openCommand(path)));
}

void PlayerSession::openInBackground(const QString &path, std::function<void()> thenOpened)
{
    beginOpen(path);
    const QPointer<PlayerSession> self(this);
    m_media.sendOpenAsync(openCommand(path),
                          [self, path, thenOpened = std::move(thenOpened)](std::uint32_t code) {
                              if (!self || self->m_ended)
                                  return;
                              self->finishOpen(path, code);
                              if (code == 0 && thenOpened && self && !self->m_ended)
                                  thenOpened();
                          });
}

bool PlayerSession::isOpening() const
{
    return m_media.isOpening();
}

QString PlayerSession::openCommand(const QString &path)
{
    return QStringLiteral("open \"") + path + QStringLiteral("\" ALIAS ") + Alias;
}

void PlayerSession::beginOpen(const QString &path)
{
    saveOutgoingBookmarks();
    m_mediaPath = path;
    endLoop();
    emit opening(path);
    send(QStringLiteral("close all"));
}

void PlayerSession::finishOpen(const QString &path, std::uint32_t code)
{
    if (code > 0) {
        emit openFailed(code);
        if (m_ended)
            return;
    }
    emit transportReady();
    playPause();
    if (m_ended)
        return;
    m_recent.moveToFront(path);
    if (!m_recentPath.isEmpty())
        m_recent.save(m_recentPath);
    loadIncomingBookmarks();
    emit mediaOpened(path);
}

void PlayerSession::close()
{
    endLoop();
    send(command("close"));
    if (m_state == PlayState::Playing)
        playPause();
    emit mediaClosed();
}

void PlayerSession::rewindQuietly()
{
    send(command("seek", QStringLiteral("to start")));
}

void PlayerSession::end()
{
    m_ended = true;
    m_tick.stop();
}

bool PlayerSession::loadRecentFiles(const QString &path)
{
    m_recentPath = path;
    return m_recent.load(path);
}

// ---------------------------------------------------------------- the transport

void PlayerSession::startPlaying()
{
    setState(PlayState::Playing);
    m_tick.start(DisplayIntervalMs);
}

void PlayerSession::playPause()
{
    if (isOpening())
        return;
    endLoop();
    if (m_state == PlayState::NotPlaying) {
        send(command("play"));
        startPlaying();
    } else {
        setState(PlayState::NotPlaying);
        // The output stops first: only then is it known where the listener's
        // sound ended (a sound server plays on what it took before the pause
        // arrived, or takes back what it had not yet played), and the rewind
        // counts from there.
        send(command("stop"));
        const double p = position();
        // Computed wide: an edited settings file may hold any 16-bit value.
        double target = p - static_cast<double>(m_pauseRewindSeconds) * 1000.0;
        if (!(target > 0))
            target = 0;
        playFrom(static_cast<std::int64_t>(target));
        send(command("stop"));
        m_tick.stop();
        showStill();
    }
    emit playPauseDone();
}

void PlayerSession::showStill()
{
    const std::optional<double> total = length();
    if (!total) {
        emit positionCleared();
        return;
    }
    emit positionShown(position(), *total);
}

void PlayerSession::seekSilently(std::int64_t ms)
{
    send(command("seek", QStringLiteral("to ") + QString::number(ms)));
    showStill();
}

void PlayerSession::stop()
{
    if (isOpening())
        return;
    endLoop();
    send(command("seek", QStringLiteral("to start")));
    // Stopped at the start, the display has nothing more to follow.
    m_tick.stop();
    tick();
    setState(PlayState::NotPlaying);
}

void PlayerSession::jumpBy(double deltaMs)
{
    if (isOpening())
        return;
    endLoop();
    double target = position() + deltaMs;
    if (!(target > 0))
        target = 0;
    if (m_state == PlayState::NotPlaying) {
        // Paused, a jump only moves: the listener resumes with Play/Pause.
        seekSilently(static_cast<std::int64_t>(target));
        return;
    }
    playFrom(static_cast<std::int64_t>(target));
    tick();
}

void PlayerSession::jumpForward()
{
    if (m_jumpSeconds == 0)
        m_jumpSeconds = 2;
    jumpBy(static_cast<double>(m_jumpSeconds) * 1000.0);
}

void PlayerSession::jumpBack()
{
    if (m_jumpSeconds == 0)
        m_jumpSeconds = 2;
    jumpBy(-static_cast<double>(m_jumpSeconds) * 1000.0);
}

void PlayerSession::tick()
{
    const std::optional<double> total = length();
    if (!total)
        return;
    // One reading of the position serves the end's check and the display,
    // unless the end moved it.
    const double where = position();
    const bool ended = rewindAtEnd(*total, where);
    const double shown = ended ? position() : where;
    emit positionShown(shown, *total);
    planNextTick(shown, *total);
}

void PlayerSession::addDisplay(const QObject *owner, DisplayHorizon horizon)
{
    m_displays.push_back(Display{owner, std::move(horizon)});
}

void PlayerSession::planNextTick(double positionMs, double lengthMs)
{
    if (!m_tick.isActive())
        return;
    // The longest sleep: a move nobody told the session of shows within it.
    constexpr int LongestMs = 5000;
    // A loop jumps back without telling: its display follows every tick.
    double untilChange = m_displays.empty() || isLooping() ? 0.0 : lengthMs - positionMs;
    for (const Display &display : m_displays) {
        if (display.owner)
            untilChange = std::min(untilChange, display.horizon(positionMs, lengthMs));
    }
    const double wallMs = untilChange / m_speed.factor();
    int interval = DisplayIntervalMs;
    if (!std::isnan(wallMs)) {
        // The first moment of the grid at or after the change (a hair early
        // rather than a tick late).
        const double ticks = std::ceil(wallMs / DisplayIntervalMs - 1e-6);
        interval = static_cast<int>(std::clamp(ticks, 1.0, double(LongestMs / DisplayIntervalMs))) *
                   DisplayIntervalMs;
    }
    m_tick.start(interval); // from now: this tick is the grid's origin
}

bool PlayerSession::rewindAtEnd(double totalMs)
{
    return rewindAtEnd(totalMs, position());
}

bool PlayerSession::rewindAtEnd(double totalMs, double positionMs)
{
    // A device that reports no length has no end to detect.
    if (!(totalMs > 0 && totalMs == positionMs))
        return false;
    send(command("seek", QStringLiteral("to start")));
    playPause();
    return true;
}

void PlayerSession::playFromBar(std::optional<std::int64_t> ms)
{
    if (isOpening())
        return;
    endLoop();
    if (m_state == PlayState::NotPlaying) {
        const std::optional<double> total = length();
        const bool reachable = ms && *ms >= 0 && (!total || static_cast<double>(*ms) <= *total);
        pauseBefore(reachable ? *ms : 0);
        return;
    }
    send(command("seek", QStringLiteral("to start")));
    if (ms && *ms >= 0)
        playFrom(*ms);
    tick();
}

void PlayerSession::playFromMark(std::int64_t ms)
{
    if (isOpening())
        return;
    if (m_state == PlayState::NotPlaying) {
        pauseBefore(ms);
        return;
    }
    playFrom(ms);
    playPause();
    playPause();
}

// Where a pause at `ms` would leave the device, reached without playing a
// sample: a sound burst while the window says paused would mislead.
void PlayerSession::pauseBefore(std::int64_t ms)
{
    endLoop();
    // Computed wide: an edited settings file may hold any 16-bit value.
    double target = static_cast<double>(ms) - static_cast<double>(m_pauseRewindSeconds) * 1000.0;
    if (!(target > 0))
        target = 0;
    const std::optional<double> total = length();
    // A pause rewinds from where it was; a target past the end stays at `ms`.
    if (total && *total > 0 && target > *total)
        target = static_cast<double>(ms);
    seekSilently(static_cast<std::int64_t>(target));
    emit playPauseDone();
}

bool PlayerSession::playFromTimestamp(std::int64_t ms)
{
    if (isOpening())
        return false;
    const std::optional<double> total = length();
    // A device that reports no length has no end to check.
    if (!total || ms < 0 || (*total > 0 && static_cast<double>(ms) > *total))
        return false;
    playFromMark(ms);
    return true;
}

void PlayerSession::seekKeepingState(std::int64_t ms)
{
    if (!hasMedia()) // also while a background open waits for the device
        return;
    if (m_state == PlayState::Playing) {
        playFrom(ms);
        // The display catches up at once, and reaching the end ends as usual.
        tick();
    } else {
        seekSilently(ms);
    }
}

void PlayerSession::restAt(std::int64_t ms)
{
    std::int64_t target = ms > 0 ? ms : 0;
    const std::optional<double> total = length();
    // Stopped at the very end the display tick would rewind at once.
    if (total && *total > 0 && static_cast<double>(target) >= *total)
        target = 0;
    if (m_state == PlayState::Playing) {
        setState(PlayState::NotPlaying);
        m_tick.stop();
    }
    send(command("stop"));
    send(command("seek", QStringLiteral("to ") + QString::number(target)));
    tick();
}

// ---------------------------------------------------------------- speed and the loop

void PlayerSession::restoreSpeed(PlaybackSpeed speed)
{
    m_speed = PlaybackSpeed();
    if (m_media.engine().setSpeed(speed.factor()) == MediaError::None)
        m_speed = speed;
    emit speedChanged(m_speed);
}

bool PlayerSession::changeSpeed(PlaybackSpeed speed)
{
    const bool changed =
        speed != m_speed && m_media.engine().setSpeed(speed.factor()) == MediaError::None;
    if (changed)
        m_speed = speed;
    emit speedChanged(m_speed);
    return changed;
}

bool PlayerSession::isLooping() const
{
    return m_media.engine().isLooping();
}

void PlayerSession::endLoop()
{
    if (!isLooping())
        return;
    m_media.engine().clearLoop();
    emit loopChanged(false);
}

// The last seconds before the position play over and over, until the same key
// (playback then simply goes on) or Play/Pause (which pauses as always). Any
// other transport command, a bar click, a bookmark or another file ends the
// loop first.
void PlayerSession::toggleLoop()
{
    if (isOpening())
        return;
    MediaEngine &engine = m_media.engine();
    if (!engine.isOpen()) {
        emit loopChanged(false);
        return;
    }
    if (isLooping()) {
        endLoop();
        return;
    }
    const LoopRange range = LoopRange::before(position(), m_loopSeconds);
    if (!range.isPlayable() || engine.setLoop(range.fromMs, range.toMs) != MediaError::None) {
        // At the very start there is nothing heard to go back over.
        emit loopChanged(false);
        return;
    }
    playFrom(range.fromMs);
    // Playing, as Play/Pause would have started it.
    if (m_state == PlayState::NotPlaying)
        startPlaying();
    tick();
    emit loopChanged(true);
}

// ---------------------------------------------------------------- bookmarks

void PlayerSession::saveBookmarks()
{
    // The table belongs to the media file it was loaded for; a failed open of
    // another file must not write these bookmarks under the new name.
    const QString path = BookmarkFile::pathFor(m_bookmarkMediaPath);
    mergeBookmarksSavedElsewhere(path);
    const FileResult saved = BookmarkFile::save(m_bookmarkMediaPath, m_bookmarks);
    rememberBookmarkFile(path);
    if (!saved)
        emit bookmarksNotSaved(saved.reason);
}

void PlayerSession::mergeBookmarksSavedElsewhere(const QString &path)
{
    const std::optional<FileStamp> now = FileStamp::of(path);
    if (!now || now == m_bookmarkFileStamp)
        return;
    BookmarkEntries theirs;
    if (!BookmarkFile::read(path, &theirs))
        return;
    const QStringList merged =
        mergeBookmarks(m_bookmarksAsStored, m_bookmarks.used(), theirs.used());
    if (merged.size() != m_bookmarks.count())
        m_bookmarks.assign(merged);
}

void PlayerSession::rememberBookmarkFile(const QString &path)
{
    m_bookmarkFileStamp = FileStamp::of(path);
    m_bookmarksAsStored = m_bookmarkFileStamp ? m_bookmarks.used() : QStringList();
}

void PlayerSession::saveOutgoingBookmarks()
{
    const bool hadBookmarks = !m_bookmarks.isEmpty();
    if (hadBookmarks || m_bookmarks.heldBookmarks())
        saveBookmarks();
    emit bookmarksLeft(hadBookmarks);
}

void PlayerSession::loadIncomingBookmarks()
{
    m_bookmarks.startFresh();
    m_bookmarkMediaPath = m_mediaPath;
    const QString path = BookmarkFile::pathFor(m_mediaPath);
    if (!isOrdinaryFile(path)) {
        rememberBookmarkFile(path);
        return;
    }
    emit bookmarkFileFound();
    BookmarkFile::read(path, &m_bookmarks);
    rememberBookmarkFile(path);
    emit bookmarksLoaded();
}

PlayerSession::BookmarkJump PlayerSession::goToBookmark(bool forward)
{
    if (!hasMedia())
        return BookmarkJump::NoMedia;
    const double rewindMs = static_cast<double>(m_pauseRewindSeconds) * 1000.0;
    const double current = position();
    const std::optional<std::int64_t> target =
        forward ? BookmarkNavigation::next(m_bookmarks, current, rewindMs)
                : BookmarkNavigation::previous(m_bookmarks, current, rewindMs);
    if (!target)
        return BookmarkJump::NoBookmark;
    playFromMark(*target);
    return BookmarkJump::Moved;
}

} // namespace quillory
