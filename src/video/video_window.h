#pragma once

#include "contracts/companion_window.h"
#include "video/video_tracks.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace quillory {

class MpvVideoRenderer;
class VideoView;

// The picture of the open video file, in a window of its own beside the player
// and the editor. It appears while the open file has a picture and the View
// menu's item is on; it never takes the keyboard focus (typing stays in the
// editor), and a click on it hands the focus back as the player's commands do.
// Its place and size are remembered in the preferences ("video.geometry").
class VideoWindow : public QWidget, public CompanionWindow {
    Q_OBJECT
public:
    // `neighbours` lists the windows it is placed beside on its first show.
    VideoWindow(MpvVideoRenderer &renderer, std::function<QList<QWidget *>()> neighbours,
                QWidget *parent = nullptr);
    ~VideoWindow() override;

    // The View menu's "Show video": off hides the window and stops decoding the
    // picture; the sound goes on.
    void setVideoShown(bool shown);
    bool videoShown() const { return m_shown; }
    QString notice() const;
    VideoView *view() const { return m_view; }

    void hideWithPlayer() override;
    void startCloseTimer() override;

signals:
    // A click on the picture: the focus goes back where the transcript is typed.
    void clicked();

protected:
    bool event(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showOrHide();
    void placeForFirstShow();
    void rememberGeometry();
    QString noticeFor(const PictureTrack &picture) const;

    MpvVideoRenderer &m_renderer;
    std::function<QList<QWidget *>()> m_neighbours;
    VideoView *m_view = nullptr;
    bool m_shown = true;
    bool m_playerClosed = false;
    bool m_placed = false;
    QPointer<QWindow> m_lastActive; // the window that had the keyboard before us
};

} // namespace quillory
