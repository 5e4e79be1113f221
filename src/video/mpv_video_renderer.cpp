#include "video/mpv_video_renderer.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QtDebug>
#include <mpv/render_gl.h>

namespace quillory {

namespace {

void *openGLFunction(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context != nullptr ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

// What no picture looks like: the player's black, not an empty widget.
QImage blackImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

} // namespace

MpvVideoRenderer::MpvVideoRenderer(bool allowOpenGL, QObject *parent)
    : QObject(parent), m_allowOpenGL(allowOpenGL)
{
}

MpvVideoRenderer::~MpvVideoRenderer()
{
    detachPlayer();
}

void MpvVideoRenderer::attachPlayer(const MpvLibrary &library, mpv_handle *player)
{
    detachPlayer();
    m_mpv = &library;
    m_player = player;
    if (!library.hasVideoOutput()) {
        m_outputProblem = QStringLiteral("this libmpv has no render output");
        return;
    }
    createRenderContext();
    m_watch = library.createClient(player, "quillory-video");
    if (m_watch != nullptr) {
        library.observeProperty(m_watch, 0, "track-list", MPV_FORMAT_NONE);
        library.observeProperty(m_watch, 0, "vid", MPV_FORMAT_NONE);
        library.setWakeupCallback(m_watch, &MpvVideoRenderer::onWatchWakeup, this);
    }
    applyWanted();
    refreshPicture();
}

void MpvVideoRenderer::detachPlayer()
{
    if (m_player == nullptr)
        return;
    // No callback may run once the player is gone.
    freeRenderContext();
    if (m_watch != nullptr) {
        m_mpv->setWakeupCallback(m_watch, nullptr, nullptr);
        m_mpv->destroy(m_watch);
        m_watch = nullptr;
    }
    m_player = nullptr;
    if (m_picture != PictureTrack()) {
        m_picture = PictureTrack();
        emit pictureChanged();
    }
}

void MpvVideoRenderer::createRenderContext()
{
    if (m_allowOpenGL && createOpenGLContext()) {
        m_output = Output::OpenGL;
    } else if (createSoftwareContext()) {
        m_output = Output::Software;
    } else {
        m_output = Output::None;
        m_outputProblem = QStringLiteral("libmpv refused both OpenGL and software output");
        return;
    }
    m_outputProblem.clear();
    m_mpv->renderContextSetUpdateCallback(m_render, &MpvVideoRenderer::onRenderUpdate, this);
}

bool MpvVideoRenderer::createOpenGLContext()
{
    auto surface = std::make_unique<QOffscreenSurface>();
    surface->create();
    auto gl = std::make_unique<QOpenGLContext>();
    if (!surface->isValid() || !gl->create() || !gl->makeCurrent(surface.get())) {
        qInfo("video: no OpenGL, the software renderer draws the picture");
        return false;
    }
    mpv_opengl_init_params init{&openGLFunction, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    const int result = m_mpv->renderContextCreate(&m_render, m_player, params);
    gl->doneCurrent();
    if (result < 0) {
        qInfo("video: libmpv's OpenGL output did not start (%d)", result);
        m_render = nullptr;
        return false;
    }
    m_surface = std::move(surface);
    m_gl = std::move(gl);
    return true;
}

bool MpvVideoRenderer::createSoftwareContext()
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (m_mpv->renderContextCreate(&m_render, m_player, params) < 0) {
        m_render = nullptr;
        return false;
    }
    return true;
}

void MpvVideoRenderer::freeRenderContext()
{
    if (m_render == nullptr)
        return;
    // libmpv frees its GL objects here: our context must be current.
    const bool gl = m_gl && m_gl->makeCurrent(m_surface.get());
    m_mpv->renderContextFree(m_render);
    m_render = nullptr;
    m_fbo.reset();
    if (gl)
        m_gl->doneCurrent();
    m_gl.reset();
    m_surface.reset();
    m_output = Output::None;
}

// On a libmpv thread.
void MpvVideoRenderer::onRenderUpdate(void *context)
{
    auto *self = static_cast<MpvVideoRenderer *>(context);
    if (self->m_updateQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(
        self,
        [self] {
            self->m_updateQueued = false;
            self->renderUpdate();
        },
        Qt::QueuedConnection);
}

// On a libmpv thread.
void MpvVideoRenderer::onWatchWakeup(void *context)
{
    auto *self = static_cast<MpvVideoRenderer *>(context);
    if (self->m_watchQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(
        self,
        [self] {
            self->m_watchQueued = false;
            self->readWatchEvents();
        },
        Qt::QueuedConnection);
}

void MpvVideoRenderer::renderUpdate()
{
    if (m_render == nullptr)
        return;
    // A frame is drawn even while nobody looks: libmpv waits for each frame to
    // be taken before it shows the next.
    if (m_mpv->renderContextUpdate(m_render) & MPV_RENDER_UPDATE_FRAME) {
        renderFrame();
        emit frameReady();
    }
}

void MpvVideoRenderer::readWatchEvents()
{
    if (m_watch == nullptr)
        return;
    bool changed = false;
    for (;;) {
        const mpv_event *event = m_mpv->waitEvent(m_watch, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        if (event->event_id == MPV_EVENT_PROPERTY_CHANGE)
            changed = true;
    }
    if (changed)
        refreshPicture();
}

void MpvVideoRenderer::refreshPicture()
{
    PictureTrack picture;
    mpv_node list;
    if (m_mpv->getProperty(m_player, "track-list", MPV_FORMAT_NODE, &list) >= 0) {
        picture = pictureTrackOf(variantFromNode(list).toList());
        m_mpv->freeNodeContents(&list);
    }
    // A track taken by number is given back to the player's choice once its
    // file is closed, so that cover art of a later file stays unselected.
    if (m_trackPinned && !picture.present)
        applyWanted();
    if (picture == m_picture)
        return;
    const bool lostPicture = !picture.present || !picture.selected;
    m_picture = picture;
    if (lostPicture)
        m_frame = QImage();
    emit pictureChanged();
}

void MpvVideoRenderer::setPictureWanted(bool wanted)
{
    if (m_wanted == wanted)
        return;
    m_wanted = wanted;
    applyWanted();
}

// The track selection also stands for the next files; "auto" is the player's
// own choice, which skips cover art (the device runs with audio-display off).
void MpvVideoRenderer::applyWanted()
{
    if (m_player == nullptr)
        return;
    QByteArray value = m_wanted ? QByteArray("auto") : QByteArray("no");
    // Switching on while a file is open takes its track by number ("auto" only
    // chooses at the next load); the player then decodes the frame at the
    // position it stands at.
    if (m_wanted && m_picture.present)
        value = QByteArray::number(m_picture.id);
    m_trackPinned = m_wanted && m_picture.present;
    const char *text = value.constData();
    m_mpv->setProperty(m_player, "vid", MPV_FORMAT_STRING, &text);
}

void MpvVideoRenderer::setTargetSize(QSize size)
{
    size = size.expandedTo(QSize(16, 16)).boundedTo(QSize(8192, 8192));
    if (size == m_targetSize)
        return;
    m_targetSize = size;
    if (m_picture.present && m_picture.selected && !m_frame.isNull())
        renderFrame();
}

void MpvVideoRenderer::renderFrame()
{
    const int width = m_targetSize.width();
    const int height = m_targetSize.height();
    if (m_output == Output::Software) {
        QImage image(m_targetSize, QImage::Format_RGBX8888);
        int size[2] = {width, height};
        size_t stride = size_t(image.bytesPerLine());
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                     {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("rgb0")},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        if (m_mpv->renderContextRender(m_render, params) >= 0)
            m_frame = image;
        else
            m_frame = blackImage(m_targetSize);
        return;
    }
    if (m_output != Output::OpenGL || !m_gl->makeCurrent(m_surface.get()))
        return;
    if (!m_fbo || m_fbo->size() != m_targetSize)
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(m_targetSize);
    mpv_opengl_fbo target{int(m_fbo->handle()), width, height, 0};
    int flipY = 1; // toImage() reads the rows bottom-up, as a window shows them
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (m_mpv->renderContextRender(m_render, params) >= 0)
        m_frame = m_fbo->toImage();
    m_gl->doneCurrent();
}

} // namespace quillory
