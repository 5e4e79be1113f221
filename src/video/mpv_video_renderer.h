#pragma once

#include "platform/mpv/mpv_video_host.h"
#include "video/video_tracks.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
struct mpv_render_context;

namespace quillory {

// libmpv's picture output. Frames are drawn through libmpv's render API, with
// OpenGL in a context of our own (an offscreen surface, so the output exists
// before any window is shown: libmpv needs it before a video opens) or, without
// OpenGL, with libmpv's software renderer; either way into an image the video
// view paints. It also watches the player's track list (through a second client
// of the player, so the media device's event loop is left alone) and says when
// the open media gains or loses a picture.
//
// Threads: libmpv calls back on its own threads; both callbacks only post to
// this object's thread, where everything else runs.
class MpvVideoRenderer : public QObject, public MpvVideoHost {
    Q_OBJECT
public:
    enum class Output { None, OpenGL, Software };

    // `allowOpenGL` false goes straight to the software renderer.
    explicit MpvVideoRenderer(bool allowOpenGL = true, QObject *parent = nullptr);
    ~MpvVideoRenderer() override;

    void attachPlayer(const MpvLibrary &library, mpv_handle *player) override;
    void detachPlayer() override;

    Output output() const { return m_output; }
    // Why there is no picture output (Output::None); empty otherwise.
    QString outputProblem() const { return m_outputProblem; }
    PictureTrack picture() const { return m_picture; }

    // Decoding of the picture on or off; off saves the decoding work and keeps
    // the sound. Holds for the files opened later too.
    void setPictureWanted(bool wanted);
    bool pictureWanted() const { return m_wanted; }

    // The size in pixels frames are drawn at; the current frame is drawn again
    // at once.
    void setTargetSize(QSize size);
    // The last frame drawn (letterboxed to the target size); null before any.
    QImage frame() const { return m_frame; }

signals:
    void pictureChanged();
    void frameReady();

private:
    static void onRenderUpdate(void *context);
    static void onWatchWakeup(void *context);
    void createRenderContext();
    bool createOpenGLContext();
    bool createSoftwareContext();
    void freeRenderContext();
    void renderUpdate();
    void readWatchEvents();
    void refreshPicture();
    void renderFrame();
    void applyWanted();

    bool m_allowOpenGL;
    const MpvLibrary *m_mpv = nullptr;
    mpv_handle *m_player = nullptr;
    mpv_handle *m_watch = nullptr;
    mpv_render_context *m_render = nullptr;
    Output m_output = Output::None;
    QString m_outputProblem;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLContext> m_gl;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    std::atomic<bool> m_updateQueued{false};
    std::atomic<bool> m_watchQueued{false};
    PictureTrack m_picture;
    bool m_wanted = true;
    bool m_trackPinned = false;
    QSize m_targetSize{320, 240};
    QImage m_frame;
};

} // namespace quillory
