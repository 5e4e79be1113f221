#include "waveform_view.h"

#include "i18n/captions.h"
#include "player/waveform_scale.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

using namespace quillory;

namespace {

const QColor Background(0x2b, 0x30, 0x38);
const QColor OutsideRecording(0x22, 0x26, 0x2c);
const QColor Played(0x8c, 0xc2, 0xf2);
const QColor Ahead(0x3d, 0x8b, 0xd4);
const QColor Pending(0x4a, 0x52, 0x5c);
const QColor Playhead(0xf0, 0x5a, 0x3c);
const QColor Bookmark(0xf2, 0xb1, 0x34);
const QColor Ticks(0x6c, 0x76, 0x82);
// Rebuilding the overview while peaks arrive: at most this often.
constexpr int OverviewRefreshMs = 250;

// The extremes of the known bins in [from, to) of `bins` (which starts at bin `first`).
Peak fold(const std::vector<Peak> &bins, std::int64_t first, std::int64_t from, std::int64_t to)
{
    Peak out;
    for (std::int64_t b = std::max(from, first);
         b < std::min(to, first + static_cast<std::int64_t>(bins.size())); ++b) {
        const Peak p = bins[static_cast<std::size_t>(b - first)];
        if (!p.known())
            continue;
        if (!out.known()) {
            out = p;
        } else {
            out.low = std::min(out.low, p.low);
            out.high = std::max(out.high, p.high);
        }
    }
    return out;
}

// A level drawn on a square-root scale: quiet speech still shows its shape
// beside loud passages.
double drawnLevel(int level)
{
    const double v = std::sqrt(std::abs(level) / 127.0);
    return level < 0 ? -v : v;
}

// A peak as a vertical span within a row of `height` pixels starting at `top`.
QRectF peakSpan(Peak p, double x, double w, int top, int height)
{
    const double mid = top + height / 2.0;
    const double half = height / 2.0 - 1;
    const double y1 = mid - drawnLevel(p.high) * half;
    const double y2 = mid - drawnLevel(p.low) * half;
    return QRectF(x, y1, w, std::max(y2 - y1, 1.0));
}

// `r` (widget coordinates) in the pixels of an image drawn at `ratio`.
QRectF inImagePixels(const QRect &r, qreal ratio)
{
    return QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio);
}

} // namespace

WaveformView::WaveformView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("waveform"));
    setAccessibleName(QStringLiteral("waveform"));
    // Everything is painted, so a scroll can move what is on screen.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    m_overviewLater.setSingleShot(true);
    m_overviewLater.setInterval(OverviewRefreshMs);
    connect(&m_overviewLater, &QTimer::timeout, this, [this] {
        m_overviewStale = true;
        update(overviewRect());
    });
}

void WaveformView::setPeaks(std::shared_ptr<const WaveformPeaks> peaks)
{
    m_peaks = std::move(peaks);
    m_overviewStale = true;
    m_detailStale = true;
    update();
}

void WaveformView::peaksChanged()
{
    if (!m_peaks)
        return;
    const std::uint64_t revision = m_peaks->revision();
    if (revision == m_overviewRevision)
        return;
    m_detailStale = true;
    update(detailRect());
    if (m_peaks->state() != WaveformPeaks::State::Loading) {
        m_overviewStale = true;
        update(overviewRect());
    } else if (!m_overviewLater.isActive()) {
        m_overviewLater.start();
    }
}

void WaveformView::setBookmarks(std::vector<double> positionsMs)
{
    if (positionsMs == m_bookmarks)
        return;
    m_bookmarks = std::move(positionsMs);
    m_detailStale = true;
    update();
}

void WaveformView::setPosition(double positionMs, double lengthMs)
{
    if (lengthMs != m_length) {
        m_length = lengthMs;
        m_overviewStale = true;
        m_detailStale = true;
        m_position = positionMs;
        m_column = WaveformScale::playheadColumn(positionMs, width());
        update();
        return;
    }
    // The pointer holds the playhead while it drags.
    if (m_drag == Drag::None)
        movePlayhead(positionMs);
}

QRect WaveformView::overviewMarks(double positionMs) const
{
    const int w = width();
    const double x = WaveformScale::overviewXOf(positionMs, m_length, w);
    const double half = m_length > 0 ? WaveformScale::DetailSpanMs / 2 / m_length * w : 0.0;
    const int left = static_cast<int>(std::floor(x - half)) - 2;
    const int right = static_cast<int>(std::ceil(x + half)) + 2;
    return QRect(left, OverviewTop, right - left + 1, OverviewHeight);
}

void WaveformView::movePlayhead(double positionMs)
{
    const QRect oldMarks = overviewMarks(m_position);
    const std::int64_t column = WaveformScale::playheadColumn(positionMs, width());
    const std::int64_t delta = column - m_column;
    m_position = positionMs;
    const QRect newMarks = overviewMarks(m_position);
    if (newMarks != oldMarks)
        update(oldMarks.united(newMarks));
    if (delta == 0)
        return;
    m_column = column;
    // Without peaks the row holds no drawing (or a message) that could move.
    if (!m_peaks || m_peaks->state() == WaveformPeaks::State::NoAudio ||
        m_peaks->state() == WaveformPeaks::State::Failed)
        return;
    const int centre = width() / 2;
    const int dx = static_cast<int>(delta);
    if (!m_detailStale && std::abs(delta) < width() / 2 && shiftDetail(dx)) {
        // The columns that came into view; and the playhead, which moved
        // along with the sound: its old and new columns, and those that
        // crossed it (played now).
        const int w = width();
        drawDetail(dx > 0 ? QRect(w - dx, 0, dx, DetailHeight) : QRect(0, 0, -dx, DetailHeight));
        const int from = std::min(centre, centre - dx) - 1;
        const int to = std::max(centre, centre - dx) + 2;
        drawDetail(QRect(from, 0, to - from, DetailHeight));
    } else {
        m_detailStale = true;
    }
    update(detailRect());
}

bool WaveformView::shiftDetail(int dx)
{
    const qreal ratio = m_detail.devicePixelRatio();
    // A fractional scale has no whole pixel per column to move by.
    if (ratio != std::floor(ratio))
        return false;
    const int pixels = dx * static_cast<int>(ratio);
    const int w = m_detail.width();
    if (std::abs(pixels) >= w)
        return false;
    const std::size_t pixelBytes = 4;
    const std::size_t kept = static_cast<std::size_t>(w - std::abs(pixels)) * pixelBytes;
    const std::size_t by = static_cast<std::size_t>(std::abs(pixels)) * pixelBytes;
    for (int y = 0; y < m_detail.height(); ++y) {
        uchar *line = m_detail.scanLine(y);
        if (pixels > 0)
            std::memmove(line, line + by, kept);
        else
            std::memmove(line + by, line, kept);
    }
    return true;
}

void WaveformView::drawDetail(const QRect &columns)
{
    const QRect area = columns.intersected(detailRect());
    if (area.isEmpty())
        return;
    m_paintedArea += qint64(area.width()) * area.height();
    QPainter painter(&m_detail);
    painter.setClipRect(area);
    paintDetail(painter, area);
}

void WaveformView::drawWholeDetail()
{
    const qreal ratio = devicePixelRatioF();
    const QSize size(std::max(1, static_cast<int>(std::lround(width() * ratio))),
                     std::max(1, static_cast<int>(std::lround(DetailHeight * ratio))));
    if (m_detail.size() != size || m_detail.devicePixelRatio() != ratio) {
        m_detail = QImage(size, QImage::Format_RGB32);
        m_detail.setDevicePixelRatio(ratio);
    }
    m_detailStale = false;
    drawDetail(detailRect());
}

void WaveformView::resizeEvent(QResizeEvent *)
{
    m_column = WaveformScale::playheadColumn(m_position, width());
    m_overviewStale = true;
    m_detailStale = true;
}

int WaveformView::takePaintCount()
{
    return std::exchange(m_paints, 0);
}

qint64 WaveformView::takePaintedArea()
{
    return std::exchange(m_paintedArea, 0);
}

void WaveformView::paintEvent(QPaintEvent *event)
{
    ++m_paints;
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(QRect(0, DetailHeight, width(), OverviewTop - DetailHeight),
                     QColor(0x6c, 0x76, 0x82));
    if (dirty.intersects(detailRect())) {
        // Drawn afresh also on a screen of another scale.
        if (m_detailStale || m_detail.isNull() ||
            m_detail.devicePixelRatio() != devicePixelRatioF())
            drawWholeDetail();
        const QRect shown = dirty.intersected(detailRect());
        painter.drawImage(QRectF(shown), m_detail,
                          inImagePixels(shown, m_detail.devicePixelRatio()));
    }
    if (dirty.intersects(overviewRect())) {
        const QRect shown = dirty.intersected(overviewRect());
        m_paintedArea += qint64(shown.width()) * shown.height();
        paintOverview(painter, shown);
    }
}

void WaveformView::paintDetail(QPainter &painter, const QRect &dirty)
{
    const int w = width();
    painter.fillRect(dirty, Background);
    if (!m_peaks)
        return; // no file, or the strip is switched off
    const WaveformPeaks::State state = m_peaks->state();
    if (state == WaveformPeaks::State::NoAudio || state == WaveformPeaks::State::Failed) {
        // Looked up when shown, so a change of language needs no call.
        const QString text =
            state == WaveformPeaks::State::NoAudio
                ? caption(QStringLiteral("waveform.noSound"), QStringLiteral("No sound track"))
                : caption(QStringLiteral("waveform.unreadable"),
                          QStringLiteral("The sound could not be read"));
        painter.setPen(Ticks);
        painter.drawText(detailRect(), Qt::AlignCenter, text);
        return;
    }
    const double msPerColumn = WaveformScale::detailMsPerColumn(w);
    const double startMs = WaveformScale::detailTimeAt(dirty.left(), m_position, w);
    const double endMs = WaveformScale::detailTimeAt(dirty.right() + 1, m_position, w);
    const std::int64_t firstBin = static_cast<std::int64_t>(std::floor(startMs / PeakBinMs));
    const std::int64_t lastBin = static_cast<std::int64_t>(std::ceil(endMs / PeakBinMs));
    const std::vector<Peak> bins = m_peaks->copy(firstBin, lastBin - firstBin + 1);
    const int centre = w / 2;
    const double mid = DetailHeight / 2.0;
    for (int x = dirty.left(); x <= dirty.right(); ++x) {
        const double t0 = WaveformScale::detailTimeAt(x, m_position, w);
        if (t0 + msPerColumn <= 0 || (m_length > 0 && t0 >= m_length)) {
            painter.fillRect(QRect(x, 0, 1, DetailHeight), OutsideRecording);
            continue;
        }
        const auto from = static_cast<std::int64_t>(std::floor(t0 / PeakBinMs));
        const auto to = std::max(
            from + 1, static_cast<std::int64_t>(std::floor((t0 + msPerColumn) / PeakBinMs)));
        const Peak p = fold(bins, firstBin, from, to);
        if (!p.known()) {
            painter.fillRect(QRectF(x, mid, 1, 1), Pending);
            continue;
        }
        painter.fillRect(peakSpan(p, x, 1, 0, DetailHeight), x < centre ? Played : Ahead);
        // A tick at every whole second, along the bottom.
        const double second = std::floor((t0 + msPerColumn) / 1000.0) * 1000.0;
        if (second > t0 && second <= t0 + msPerColumn)
            painter.fillRect(QRect(x, DetailHeight - 4, 1, 4), Ticks);
    }
    for (double b : m_bookmarks) {
        const int x = static_cast<int>(std::floor(WaveformScale::detailXOf(b, m_position, w)));
        if (x >= dirty.left() - 3 && x <= dirty.right() + 3) {
            painter.fillRect(QRect(x, 0, 1, DetailHeight), Bookmark);
            const QPointF flag[] = {QPointF(x - 3, 0), QPointF(x + 4, 0), QPointF(x + 0.5, 5)};
            painter.setPen(Qt::NoPen);
            painter.setBrush(Bookmark);
            painter.drawPolygon(flag, 3);
        }
    }
    if (centre >= dirty.left() - 1 && centre <= dirty.right() + 1)
        painter.fillRect(QRect(centre, 0, 1, DetailHeight), Playhead);
}

void WaveformView::rebuildOverview()
{
    const qreal ratio = devicePixelRatioF();
    const int columns = std::max(1, static_cast<int>(std::lround(width() * ratio)));
    const int rows = std::max(1, static_cast<int>(std::lround(OverviewHeight * ratio)));
    m_overview = QImage(columns, rows, QImage::Format_RGB32);
    m_overview.fill(Background);
    m_overviewStale = false;
    if (!m_peaks)
        return;
    m_overviewRevision = m_peaks->revision();
    const double lengthMs = m_length > 0 ? m_length : m_peaks->durationMs();
    const auto bins = static_cast<std::int64_t>(lengthMs / PeakBinMs);
    const std::vector<Peak> folded = m_peaks->overview(columns, bins);
    QPainter painter(&m_overview);
    for (int x = 0; x < columns; ++x) {
        const Peak p = folded[static_cast<std::size_t>(x)];
        if (!p.known())
            painter.fillRect(QRectF(x, rows / 2.0, 1, 1), Pending);
        else
            painter.fillRect(peakSpan(p, x, 1, 0, rows), Ahead);
    }
    m_overview.setDevicePixelRatio(ratio);
}

void WaveformView::paintOverview(QPainter &painter, const QRect &dirty)
{
    if (m_overviewStale || m_overview.isNull())
        rebuildOverview();
    const QRect area = overviewRect();
    // The image is in the screen's pixels: so is the part of it taken.
    painter.drawImage(
        QRectF(dirty), m_overview,
        inImagePixels(dirty.translated(0, -area.top()), m_overview.devicePixelRatio()));
    if (!(m_length > 0) || !m_peaks)
        return;
    const int w = width();
    const QRect marks = overviewMarks(m_position);
    painter.fillRect(marks.adjusted(2, 0, -2, 0), QColor(255, 255, 255, 40));
    const int x = static_cast<int>(std::floor(WaveformScale::overviewXOf(m_position, m_length, w)));
    painter.fillRect(QRect(std::min(x, w - 1), area.top(), 1, area.height()), Playhead);
    for (double b : m_bookmarks) {
        const int bx = static_cast<int>(std::floor(WaveformScale::overviewXOf(b, m_length, w)));
        painter.fillRect(QRect(std::min(bx, w - 1), area.top(), 1, 4), Bookmark);
    }
}

double WaveformView::dragTarget(double x) const
{
    const double t = m_pressPosition - (x - m_pressX) * WaveformScale::detailMsPerColumn(width());
    return std::clamp(t, 0.0, std::max(m_length, 0.0));
}

void WaveformView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !(m_length > 0))
        return;
    const QPointF p = event->position();
    if (p.y() >= OverviewTop) {
        m_drag = Drag::Overview;
        const double t = WaveformScale::overviewTimeAt(p.x(), m_length, width());
        movePlayhead(t);
        emit seekRequested(static_cast<qint64>(t), false);
    } else {
        m_drag = Drag::Detail;
        m_pressX = p.x();
        m_pressPosition = m_position;
        m_moved = false;
    }
}

void WaveformView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    if (m_drag == Drag::Overview) {
        const double t = WaveformScale::overviewTimeAt(p.x(), m_length, width());
        movePlayhead(t);
        emit seekRequested(static_cast<qint64>(t), false);
    } else if (m_drag == Drag::Detail) {
        // Dragging the detail moves the sound under the pointer, as paper is
        // pulled under a pen: left goes forward in time.
        if (!m_moved && std::abs(p.x() - m_pressX) < 3)
            return;
        m_moved = true;
        const double t = dragTarget(p.x());
        movePlayhead(t);
        emit seekRequested(static_cast<qint64>(t), false);
    }
}

void WaveformView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_drag == Drag::None)
        return;
    const QPointF p = event->position();
    double t = m_position;
    if (m_drag == Drag::Overview)
        t = WaveformScale::overviewTimeAt(p.x(), m_length, width());
    else if (m_moved)
        t = dragTarget(p.x());
    else // a click: the time under the pointer
        t = std::clamp(WaveformScale::detailTimeAt(p.x(), m_position, width()), 0.0, m_length);
    m_drag = Drag::None;
    movePlayhead(t);
    emit seekRequested(static_cast<qint64>(t), true);
}
