#pragma once

#include "waveform/waveform_peaks.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

// The waveform strip under the player's controls: above, the seconds around
// the playhead (fixed in the middle) at word scale; below, the whole
// recording with the playhead and the stretch the row above shows. Bookmarks
// are marked in both. A click or drag asks for a seek (seekRequested); the
// window's session does it. Following playback, only what moved is drawn:
// the detail row is kept in an image that is shifted by whole columns, with
// only the columns that came into view and the playhead's drawn anew, and
// shown in one copy (cheaper than asking the window to scroll); the overview
// repaints the playhead marker's old and new place.
class WaveformView : public QWidget {
    Q_OBJECT
public:
    static constexpr int DetailHeight = 52;
    static constexpr int OverviewTop = DetailHeight + 2;
    static constexpr int OverviewHeight = 18;
    static constexpr int StripHeight = OverviewTop + OverviewHeight;

    explicit WaveformView(QWidget *parent = nullptr);

    void setPeaks(std::shared_ptr<const quillory::WaveformPeaks> peaks);
    // The peaks grew or their state changed.
    void peaksChanged();
    void setPosition(double positionMs, double lengthMs);
    void setBookmarks(std::vector<double> positionsMs);
    // The position drawn (the pointer's while dragging).
    double shownPositionMs() const { return m_position; }
    bool isDragging() const { return m_drag != Drag::None; }
    QSize sizeHint() const override { return QSize(width(), StripHeight); }
    // Paint events since the last call, and the area drawn anew in them or
    // for them (for tests and the benchmark of what a tick costs).
    int takePaintCount();
    qint64 takePaintedArea();

signals:
    void seekRequested(qint64 ms, bool final);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Drag { None, Detail, Overview };
    QRect detailRect() const { return QRect(0, 0, width(), DetailHeight); }
    QRect overviewRect() const { return QRect(0, OverviewTop, width(), OverviewHeight); }
    void paintDetail(QPainter &painter, const QRect &dirty);
    // The detail row's image drawn whole, or where `columns` (widget
    // coordinates) cover it.
    void drawDetail(const QRect &columns);
    void drawWholeDetail();
    // Moves the detail row's image `dx` columns to the left (right when negative).
    bool shiftDetail(int dx);
    void paintOverview(QPainter &painter, const QRect &dirty);
    void rebuildOverview();
    QRect overviewMarks(double positionMs) const;
    void movePlayhead(double positionMs);
    double dragTarget(double x) const;

    std::shared_ptr<const quillory::WaveformPeaks> m_peaks;
    double m_position = 0;
    double m_length = 0;
    std::int64_t m_column = 0;
    QImage m_detail;
    bool m_detailStale = true;
    QImage m_overview;
    std::uint64_t m_overviewRevision = 0;
    bool m_overviewStale = true;
    QTimer m_overviewLater;
    std::vector<double> m_bookmarks;
    Drag m_drag = Drag::None;
    double m_pressX = 0;
    double m_pressPosition = 0;
    bool m_moved = false;
    int m_paints = 0;
    qint64 m_paintedArea = 0;
};
