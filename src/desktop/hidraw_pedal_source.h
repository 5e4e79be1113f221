#pragma once

#include "desktop/pedal_source.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QTimer>
#include <memory>

class QSocketNotifier;

namespace quillory {

// Reads foot controls through Linux hidraw devices. A device is known by the
// "HID_ID=0003:VVVVVVVV:PPPPPPPP" line of its uevent file under
// <sysfs>/class/hidraw/<name>/device/ and read from <dev>/<name>, without
// blocking, from the event loop. Plugging in a device changes the device folder,
// which starts a new search a moment later (udev sets the access rights just
// after the node appears).
class HidrawPedalSource : public PedalSource {
    Q_OBJECT
public:
    explicit HidrawPedalSource(const PedalModels &models,
                               const QString &sysfsRoot = QStringLiteral("/sys"),
                               const QString &devRoot = QStringLiteral("/dev"),
                               QObject *parent = nullptr);
    ~HidrawPedalSource() override;

    void start() override;
    // Searches now: opens the known controls not yet open.
    void rescan();
    int openDevices() const { return static_cast<int>(m_devices.size()); }

    // "HID_ID=0003:000005F3:000000FF" -> vendor 0x05f3, product 0x00ff; false for
    // other lines or buses other than USB.
    static bool parseHidId(const QString &ueventText, std::uint16_t *vendor,
                           std::uint16_t *product);

private:
    struct Device {
        int id = 0;
        int fd = -1;
        QString name;
        QSocketNotifier *notifier = nullptr; // a child of the source
    };
    void readFrom(int id);
    void close(int id);

    PedalModels m_models;
    QString m_sysfsRoot;
    QString m_devRoot;
    QFileSystemWatcher m_watcher;
    QTimer m_rescanDelay;
    QHash<int, std::shared_ptr<Device>> m_devices;
    QSet<QString> m_deniedReported;
    int m_nextId = 1;
};

} // namespace quillory
