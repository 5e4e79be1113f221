#include "mpris_adaptors.h"

#include "desktop/mpris_service.h"

namespace quillory {

MprisRootAdaptor::MprisRootAdaptor(QObject *object, MprisService &service)
    : QDBusAbstractAdaptor(object), m_service(service)
{
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return MprisService::supportedMimeTypes();
}

void MprisRootAdaptor::Raise()
{
    m_service.raise();
}

void MprisRootAdaptor::Quit()
{
    m_service.quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject *object, MprisService &service)
    : QDBusAbstractAdaptor(object), m_service(service)
{
    connect(&service, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return m_service.playbackStatus();
}

double MprisPlayerAdaptor::rate() const
{
    return m_service.rate();
}

void MprisPlayerAdaptor::setRate(double rate)
{
    m_service.setRate(rate);
}

double MprisPlayerAdaptor::minimumRate() const
{
    return MprisService::MinimumRate;
}

double MprisPlayerAdaptor::maximumRate() const
{
    return MprisService::MaximumRate;
}

double MprisPlayerAdaptor::volume() const
{
    return m_service.volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_service.setVolume(volume);
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return m_service.metadata();
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_service.positionUs();
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return m_service.canGoNext();
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return m_service.canGoPrevious();
}

bool MprisPlayerAdaptor::canPlay() const
{
    return m_service.hasMedia();
}

bool MprisPlayerAdaptor::canPause() const
{
    return m_service.hasMedia();
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_service.hasMedia();
}

void MprisPlayerAdaptor::Next()
{
    m_service.next();
}

void MprisPlayerAdaptor::Previous()
{
    m_service.previous();
}

void MprisPlayerAdaptor::Pause()
{
    m_service.pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    m_service.playPause();
}

void MprisPlayerAdaptor::Stop()
{
    m_service.stop();
}

void MprisPlayerAdaptor::Play()
{
    m_service.play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset)
{
    m_service.seek(Offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    m_service.setPosition(TrackId, Position);
}

void MprisPlayerAdaptor::OpenUri(const QString &Uri)
{
    m_service.openUri(Uri);
}

} // namespace quillory
