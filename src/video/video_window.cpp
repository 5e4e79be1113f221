#include "video/video_window.h"

#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "video/mpv_video_renderer.h"
#include "video/video_placement.h"
#include "video/video_view.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace quillory {

namespace {

const QString GeometryKey = QStringLiteral("video.geometry");
const QString ShownKey = QStringLiteral("video.show");

QRect availableArea(const QWidget *near)
{
    QScreen *screen = near != nullptr ? near->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

VideoWindow::VideoWindow(MpvVideoRenderer &renderer, std::function<QList<QWidget *>()> neighbours,
                         QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_renderer(renderer), m_neighbours(std::move(neighbours))
{
    setObjectName(QStringLiteral("frmVideo"));
    setAccessibleName(caption(QStringLiteral("video.window"), QStringLiteral("Video")));
    setWindowTitle(accessibleName());
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_view = new VideoView(renderer, this);
    m_view->setObjectName(QStringLiteral("picVideo"));
    m_view->setAccessibleName(accessibleName());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &VideoView::clicked, this, &VideoWindow::clicked);
    connect(&renderer, &MpvVideoRenderer::pictureChanged, this, &VideoWindow::showOrHide);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
        if (window != nullptr && window != windowHandle())
            m_lastActive = window;
    });
    m_shown = Preferences::shared().flag(ShownKey, true);
    m_renderer.setPictureWanted(m_shown);
    showOrHide();
}

VideoWindow::~VideoWindow()
{
    rememberGeometry();
}

void VideoWindow::setVideoShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    Preferences::shared().setFlag(ShownKey, shown);
    Preferences::shared().save();
    m_renderer.setPictureWanted(shown);
    showOrHide();
}

QString VideoWindow::notice() const
{
    return m_view->notice();
}

QString VideoWindow::noticeFor(const PictureTrack &picture) const
{
    if (!picture.present || picture.selected)
        return QString();
    if (m_renderer.output() == MpvVideoRenderer::Output::None)
        return caption(QStringLiteral("video.noOutput"),
                       QStringLiteral("No picture (%1); the sound plays."))
            .arg(m_renderer.outputProblem());
    return caption(QStringLiteral("video.cannotDecode"),
                   QStringLiteral("This video (%1) cannot be shown; the sound plays."))
        .arg(picture.codec.isEmpty() ? QStringLiteral("?") : picture.codec);
}

void VideoWindow::showOrHide()
{
    const PictureTrack picture = m_renderer.picture();
    m_view->setNotice(noticeFor(picture));
    const bool visible = m_shown && !m_playerClosed && picture.present;
    if (visible == isVisible())
        return;
    if (!visible) {
        hide();
        return;
    }
    if (!m_placed)
        placeForFirstShow();
    show(); // without activating: the editor keeps the keyboard
}

void VideoWindow::placeForFirstShow()
{
    m_placed = true;
    const QList<QWidget *> neighbours = m_neighbours ? m_neighbours() : QList<QWidget *>();
    const QRect available = availableArea(neighbours.isEmpty() ? nullptr : neighbours.first());
    const QRect remembered = geometryFromText(Preferences::shared().text(GeometryKey), available);
    if (!remembered.isEmpty()) {
        setGeometry(remembered);
        return;
    }
    QList<QRect> occupied;
    for (QWidget *window : neighbours) {
        if (window != nullptr && window->isVisible())
            occupied << window->frameGeometry();
    }
    const QSize picture =
        m_renderer.picture().size.isEmpty() ? QSize(16, 9) : m_renderer.picture().size;
    const QSize preferred = picture.scaled(QSize(480, 360), Qt::KeepAspectRatio);
    const QSize minimum = picture.scaled(QSize(160, 120), Qt::KeepAspectRatio);
    // The frame the window manager adds is not known before the first show.
    const QSize frame(8, 32);
    QRect spot = placeBeside(available, occupied, preferred + frame, minimum + frame);
    spot.setSize(spot.size() - frame);
    spot.translate(frame.width() / 2, frame.height() - frame.width() / 2);
    setGeometry(spot);
}

void VideoWindow::rememberGeometry()
{
    if (!m_placed || !isVisible())
        return;
    Preferences::shared().setText(GeometryKey, geometryToText(geometry()));
}

// A window manager that activates us all the same (or a platform that ignores
// the hint) gets the keyboard handed straight back.
bool VideoWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        if (m_lastActive)
            m_lastActive->requestActivate();
        else
            emit clicked();
    }
    return QWidget::event(event);
}

void VideoWindow::hideEvent(QHideEvent *event)
{
    rememberGeometry();
    QWidget::hideEvent(event);
    if (m_placed)
        Preferences::shared().save();
}

void VideoWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    rememberGeometry();
}

void VideoWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rememberGeometry();
}

void VideoWindow::hideWithPlayer()
{
    m_playerClosed = true;
    hide();
}

void VideoWindow::startCloseTimer()
{
    // Owned by the program, it goes with it; hidden is closed enough.
}

} // namespace quillory
