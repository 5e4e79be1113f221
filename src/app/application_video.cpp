#include "app/application.h"

#include "i18n/captions.h"
#include "player/form1.h"
#include "video/mpv_video_renderer.h"
#include "video/video_window.h"

#include <QAction>

using namespace quillory;

void Application::startVideo()
{
    Form1 *player = m_player.get();
    m_videoWindow = std::make_unique<VideoWindow>(*m_videoRenderer, [player] {
        return QList<QWidget *>{player, player->editor()->asWidget()};
    });
    VideoWindow *window = m_videoWindow.get();
    player->addCompanionWindow(window);
    QObject::connect(window, &VideoWindow::clicked, player, &Form1::ReturnFocus);

    QAction *item = player->addViewMenuItem(QStringLiteral("mnuMostraVideo"), [](QAction *item) {
        item->setText(caption(QStringLiteral("video.show"), QStringLiteral("Show &video")));
        item->setToolTip(item->text().remove(QLatin1Char('&')));
    });
    item->setCheckable(true);
    item->setChecked(window->videoShown());
    QObject::connect(item, &QAction::toggled, window, &VideoWindow::setVideoShown);
}
