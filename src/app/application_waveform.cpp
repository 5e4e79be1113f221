#include "app/application.h"

#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "player/form1.h"
#include "player/waveform_panel.h"
#include "player/waveform_view.h"
#include "waveform/peak_cache.h"
#include "waveform/waveform_loader.h"

#include <QAction>

using namespace quillory;

namespace {
const QString ShownKey = QStringLiteral("waveform.shown");
} // namespace

void Application::startWaveform()
{
    Form1 *player = m_player.get();
    auto *view = new WaveformView;
    player->addStripBelowControls(view);
    m_waveform = std::make_unique<WaveformPanel>(
        *m_session, view, std::make_unique<WaveformLoader>(PeakCache::defaultFolder()));
    WaveformPanel *panel = m_waveform.get();

    QAction *item = player->addViewMenuItem(QStringLiteral("mnuMostraOnda"), [](QAction *item) {
        item->setText(caption(QStringLiteral("waveform.show"), QStringLiteral("Show &waveform")));
        item->setToolTip(item->text().remove(QLatin1Char('&')));
    });
    item->setCheckable(true);
    const bool shown = Preferences::shared().flag(ShownKey, true);
    item->setChecked(shown);
    panel->setShown(shown);
    QObject::connect(item, &QAction::toggled, player, [panel, player](bool on) {
        panel->setShown(on);
        Preferences &preferences = Preferences::shared();
        preferences.setFlag(ShownKey, on);
        preferences.save(); // a failure keeps the old file; the choice holds for this run
        player->ReturnFocus();
    });
}
