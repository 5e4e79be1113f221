#pragma once

// The two MPRIS interfaces as Qt D-Bus adaptors: thin relays to MprisService.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace quillory {

class MprisService;

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    MprisRootAdaptor(QObject *object, MprisService &service);
    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Quillory"); }
    QString desktopEntry() const { return QStringLiteral("org.quillory.Quillory"); }
    QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList supportedMimeTypes() const;

public slots:
    void Raise();
    void Quit();

private:
    MprisService &m_service;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    // Written out so the position, which changes all the time, says that it is
    // not announced, and the rest that it is.
    Q_CLASSINFO(
        "D-Bus Introspection",
        "  <interface name=\"org.mpris.MediaPlayer2.Player\">\n"
        "    <method name=\"Next\"/>\n"
        "    <method name=\"Previous\"/>\n"
        "    <method name=\"Pause\"/>\n"
        "    <method name=\"PlayPause\"/>\n"
        "    <method name=\"Stop\"/>\n"
        "    <method name=\"Play\"/>\n"
        "    <method name=\"Seek\"><arg name=\"Offset\" type=\"x\" direction=\"in\"/></method>\n"
        "    <method name=\"SetPosition\"><arg name=\"TrackId\" type=\"o\" direction=\"in\"/>"
        "<arg name=\"Position\" type=\"x\" direction=\"in\"/></method>\n"
        "    <method name=\"OpenUri\"><arg name=\"Uri\" type=\"s\" direction=\"in\"/></method>\n"
        "    <signal name=\"Seeked\"><arg name=\"Position\" type=\"x\"/></signal>\n"
        "    <property name=\"PlaybackStatus\" type=\"s\" access=\"read\"/>\n"
        "    <property name=\"Rate\" type=\"d\" access=\"readwrite\"/>\n"
        "    <property name=\"Metadata\" type=\"a{sv}\" access=\"read\">"
        "<annotation name=\"org.qtproject.QtDBus.QtTypeName\" value=\"QVariantMap\"/></property>\n"
        "    <property name=\"Volume\" type=\"d\" access=\"readwrite\"/>\n"
        "    <property name=\"Position\" type=\"x\" access=\"read\">"
        "<annotation name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" "
        "value=\"false\"/></property>\n"
        "    <property name=\"MinimumRate\" type=\"d\" access=\"read\"/>\n"
        "    <property name=\"MaximumRate\" type=\"d\" access=\"read\"/>\n"
        "    <property name=\"CanGoNext\" type=\"b\" access=\"read\"/>\n"
        "    <property name=\"CanGoPrevious\" type=\"b\" access=\"read\"/>\n"
        "    <property name=\"CanPlay\" type=\"b\" access=\"read\"/>\n"
        "    <property name=\"CanPause\" type=\"b\" access=\"read\"/>\n"
        "    <property name=\"CanSeek\" type=\"b\" access=\"read\"/>\n"
        "    <property name=\"CanControl\" type=\"b\" access=\"read\">"
        "<annotation name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" "
        "value=\"const\"/></property>\n"
        "  </interface>\n")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    MprisPlayerAdaptor(QObject *object, MprisService &service);
    QString playbackStatus() const;
    double rate() const;
    void setRate(double rate);
    double minimumRate() const;
    double maximumRate() const;
    QVariantMap metadata() const;
    // The player's volume slider.
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;
    bool canControl() const { return true; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position);
    void OpenUri(const QString &Uri);

signals:
    void Seeked(qlonglong Position);

private:
    MprisService &m_service;
};

} // namespace quillory
