#pragma once

// A player session on the simulated device, whose clock moves only through
// advance(), in a program folder of its own; and a log of the session's
// signals by name, in the order they came.
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"
#include "session/player_session.h"
#include "support/program_home.h"

#include <QStringList>
#include <memory>

namespace quillory::test {

struct SessionRig {
    SessionRig()
        : home(false), engine(new SimulatedMediaEngine),
          media(std::unique_ptr<MediaEngine>(engine)), session(media)
    {
        session.setJumpSeconds(5);
        session.setPauseRewindSeconds(3);
    }
    QString file(const QString &name, std::int64_t lengthMs = 60000)
    {
        home.write(QStringLiteral("media/") + name, "RIFF");
        const QString path = home.file(QStringLiteral("media/") + name);
        engine->setLength(path, lengthMs);
        return path;
    }
    // Opens a file (which plays) and lets it play to `ms`.
    QString openAt(const QString &name, std::int64_t lengthMs, std::int64_t ms)
    {
        const QString path = file(name, lengthMs);
        session.open(path);
        engine->advance(ms);
        return path;
    }
    ProgramHome home;
    SimulatedMediaEngine *engine; // owned by media
    MediaControl media;
    PlayerSession session;
};

class SignalLog {
public:
    explicit SignalLog(PlayerSession &s)
    {
        record(s, &PlayerSession::opening, "opening");
        record(s, &PlayerSession::openFailed, "openFailed");
        record(s, &PlayerSession::transportReady, "transportReady");
        record(s, &PlayerSession::bookmarksLeft, "bookmarksLeft");
        record(s, &PlayerSession::bookmarkFileFound, "bookmarkFileFound");
        record(s, &PlayerSession::bookmarksLoaded, "bookmarksLoaded");
        record(s, &PlayerSession::mediaOpened, "mediaOpened");
        record(s, &PlayerSession::mediaClosed, "mediaClosed");
        record(s, &PlayerSession::playPauseDone, "playPauseDone");
        record(s, &PlayerSession::positionCleared, "positionCleared");
    }
    QStringList names;

private:
    template <typename Signal> void record(PlayerSession &s, Signal signal, const char *name)
    {
        QObject::connect(&s, signal, &s, [this, name] { names << QLatin1String(name); });
    }
};

} // namespace quillory::test
