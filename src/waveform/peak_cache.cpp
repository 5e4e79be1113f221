#include "peak_cache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>
#include <cstring>

namespace quillory {

namespace {

constexpr char Magic[4] = {'Q', 'P', 'K', 'S'};
// The largest entry read: ten days of peaks, far beyond any recording.
constexpr qint64 MaxEntryBytes = 64 + 4096 + qint64(10) * 24 * 3600 * PeakBinsPerSecond * 2 + 8;

static_assert(sizeof(Peak) == 2, "peaks are stored as they lie in memory");

std::uint64_t fnv1a(const char *data, qsizetype size, std::uint64_t hash = 1469598103934665603ull)
{
    for (qsizetype i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}

template <typename T> void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Reads little-endian fields in order; any read past the end fails them all.
class Reader {
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}
    template <typename T> T get()
    {
        if (!m_ok || m_at + qsizetype(sizeof(T)) > m_bytes.size()) {
            m_ok = false;
            return T();
        }
        const T value = qFromLittleEndian<T>(m_bytes.constData() + m_at);
        m_at += sizeof(T);
        return value;
    }
    QByteArray bytes(qsizetype count)
    {
        if (!m_ok || count < 0 || m_at + count > m_bytes.size()) {
            m_ok = false;
            return QByteArray();
        }
        const QByteArray out = m_bytes.mid(m_at, count);
        m_at += count;
        return out;
    }
    qsizetype at() const { return m_at; }
    bool ok() const { return m_ok; }

private:
    const QByteArray &m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

} // namespace

std::optional<PeakCacheKey> PeakCacheKey::of(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    PeakCacheKey key;
    key.path = info.absoluteFilePath();
    key.size = info.size();
    key.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    return key;
}

QString PeakCache::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/waveforms");
}

QString PeakCache::fileFor(const QString &mediaPath) const
{
    const QByteArray hash =
        QCryptographicHash::hash(QFileInfo(mediaPath).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex();
    return m_folder + QLatin1Char('/') + QString::fromLatin1(hash) + QStringLiteral(".peaks");
}

namespace {

QByteArray encodeHeader(const PeakCacheKey &key, double durationMs, std::size_t count)
{
    QByteArray out;
    const QByteArray path = key.path.toUtf8();
    out.append(Magic, 4);
    put<std::uint32_t>(out, PeakCache::Version);
    put<std::uint32_t>(out, PeakBinsPerSecond);
    put<std::int64_t>(out, key.size);
    put<std::int64_t>(out, key.modifiedMs);
    put<std::uint32_t>(out, static_cast<std::uint32_t>(path.size()));
    out.append(path);
    put<std::int64_t>(out, static_cast<std::int64_t>(durationMs));
    put<std::uint64_t>(out, count);
    return out;
}

QByteArrayView payloadOf(const std::vector<Peak> &bins)
{
    return QByteArrayView(reinterpret_cast<const char *>(bins.data()),
                          static_cast<qsizetype>(bins.size() * sizeof(Peak)));
}

QByteArray checksumOf(const QByteArray &header, QByteArrayView payload)
{
    QByteArray out;
    put<std::uint64_t>(
        out, fnv1a(payload.data(), payload.size(), fnv1a(header.constData(), header.size())));
    return out;
}

} // namespace

QByteArray PeakCache::encode(const PeakCacheKey &key, double durationMs,
                             const std::vector<Peak> &bins)
{
    const QByteArray header = encodeHeader(key, durationMs, bins.size());
    const QByteArrayView payload = payloadOf(bins);
    return header + payload.toByteArray() + checksumOf(header, payload);
}

std::optional<CachedPeaks> PeakCache::decode(const QByteArray &bytes, const PeakCacheKey &key)
{
    if (bytes.size() < 8 || std::memcmp(bytes.constData(), Magic, 4) != 0)
        return std::nullopt;
    const qsizetype body = bytes.size() - 8;
    if (qFromLittleEndian<std::uint64_t>(bytes.constData() + body) !=
        fnv1a(bytes.constData(), body))
        return std::nullopt;
    Reader in(bytes);
    in.bytes(4);
    if (in.get<std::uint32_t>() != Version || in.get<std::uint32_t>() != PeakBinsPerSecond)
        return std::nullopt;
    PeakCacheKey stored;
    stored.size = in.get<std::int64_t>();
    stored.modifiedMs = in.get<std::int64_t>();
    stored.path = QString::fromUtf8(in.bytes(in.get<std::uint32_t>()));
    CachedPeaks peaks;
    peaks.durationMs = static_cast<double>(in.get<std::int64_t>());
    const std::uint64_t count = in.get<std::uint64_t>();
    if (!in.ok() || !(stored == key) || count != std::uint64_t(body - in.at()) / 2 ||
        (body - in.at()) % 2 != 0)
        return std::nullopt;
    peaks.bins.resize(count);
    const char *data = bytes.constData() + in.at();
    for (std::uint64_t i = 0; i < count; ++i) {
        peaks.bins[i].low = static_cast<std::int8_t>(data[2 * i]);
        peaks.bins[i].high = static_cast<std::int8_t>(data[2 * i + 1]);
    }
    return peaks;
}

std::optional<CachedPeaks> PeakCache::read(const PeakCacheKey &key) const
{
    QByteArray bytes;
    if (!readRegularFile(fileFor(key.path), MaxEntryBytes, &bytes))
        return std::nullopt;
    return decode(bytes, key);
}

FileResult PeakCache::write(const PeakCacheKey &key, const CachedPeaks &peaks) const
{
    return write(key, peaks.durationMs, peaks.bins);
}

FileResult PeakCache::write(const PeakCacheKey &key, double durationMs,
                            const std::vector<Peak> &bins) const
{
    if (!QDir().mkpath(m_folder))
        return FileResult::failure(QStringLiteral("cannot create %1").arg(m_folder));
    const QByteArray header = encodeHeader(key, durationMs, bins.size());
    const QByteArrayView payload = payloadOf(bins);
    return writeFileSafely(fileFor(key.path), {header, payload, checksumOf(header, payload)});
}

} // namespace quillory
