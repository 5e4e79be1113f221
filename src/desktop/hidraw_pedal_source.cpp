#include "hidraw_pedal_source.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quillory {

namespace {
constexpr int RescanDelayMs = 1000;
constexpr int MaxReport = 64;
} // namespace

HidrawPedalSource::HidrawPedalSource(const PedalModels &models, const QString &sysfsRoot,
                                     const QString &devRoot, QObject *parent)
    : PedalSource(parent), m_models(models), m_sysfsRoot(sysfsRoot), m_devRoot(devRoot)
{
    m_rescanDelay.setSingleShot(true);
    m_rescanDelay.setInterval(RescanDelayMs);
    connect(&m_rescanDelay, &QTimer::timeout, this, &HidrawPedalSource::rescan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            [this] { m_rescanDelay.start(); });
}

HidrawPedalSource::~HidrawPedalSource()
{
    for (const auto &device : std::as_const(m_devices)) {
        device->notifier->setEnabled(false);
        ::close(device->fd);
    }
}

void HidrawPedalSource::start()
{
    if (QFileInfo(m_devRoot).isDir())
        m_watcher.addPath(m_devRoot);
    rescan();
}

bool HidrawPedalSource::parseHidId(const QString &ueventText, std::uint16_t *vendor,
                                   std::uint16_t *product)
{
    const QStringList lines = ueventText.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1String("HID_ID=")))
            continue;
        const QStringList parts = line.mid(7).trimmed().split(QLatin1Char(':'));
        if (parts.size() != 3)
            return false;
        bool okBus = false, okVendor = false, okProduct = false;
        const uint bus = parts[0].toUInt(&okBus, 16);
        const uint v = parts[1].toUInt(&okVendor, 16);
        const uint p = parts[2].toUInt(&okProduct, 16);
        if (!okBus || !okVendor || !okProduct || bus != 0x0003 || v > 0xffff || p > 0xffff)
            return false;
        *vendor = static_cast<std::uint16_t>(v);
        *product = static_cast<std::uint16_t>(p);
        return true;
    }
    return false;
}

void HidrawPedalSource::rescan()
{
    QSet<QString> open;
    for (const auto &d : std::as_const(m_devices))
        open.insert(d->name);
    const QDir classDir(m_sysfsRoot + QStringLiteral("/class/hidraw"));
    const QStringList names = classDir.entryList(
        {QStringLiteral("hidraw*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString &name : names) {
        if (open.contains(name))
            continue;
        QFile uevent(classDir.filePath(name + QStringLiteral("/device/uevent")));
        if (!uevent.open(QIODevice::ReadOnly))
            continue;
        std::uint16_t vendor = 0, product = 0;
        if (!parseHidId(QString::fromLatin1(uevent.read(4096)), &vendor, &product))
            continue;
        const PedalModel *model = m_models.find(vendor, product);
        if (model == nullptr)
            continue;
        const QString node = m_devRoot + QLatin1Char('/') + name;
        const int fd =
            ::open(QFile::encodeName(node).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            if ((errno == EACCES || errno == EPERM) && !m_deniedReported.contains(node)) {
                m_deniedReported.insert(node);
                emit accessDenied(node, *model);
            }
            continue;
        }
        auto device = std::make_shared<Device>();
        device->id = m_nextId++;
        device->fd = fd;
        device->name = name;
        device->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        const int id = device->id;
        connect(device->notifier, &QSocketNotifier::activated, this, [this, id] { readFrom(id); });
        m_devices.insert(id, device);
        emit deviceAdded(id, *model);
    }
}

void HidrawPedalSource::readFrom(int id)
{
    const auto it = m_devices.constFind(id);
    if (it == m_devices.constEnd())
        return;
    const int fd = (*it)->fd;
    char buffer[MaxReport];
    // hidraw hands over one report per read; drain what is there.
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            emit report(id, QByteArray(buffer, static_cast<int>(n)));
            if (!m_devices.contains(id))
                return;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // End of file or an error (ENODEV when unplugged).
        close(id);
        return;
    }
}

void HidrawPedalSource::close(int id)
{
    const auto device = m_devices.take(id);
    if (!device)
        return;
    // Called from the notifier's own signal: it goes once that has returned.
    device->notifier->setEnabled(false);
    device->notifier->deleteLater();
    ::close(device->fd);
    emit deviceRemoved(id);
}

} // namespace quillory
