#include "foot_pedals.h"

#include "desktop/pedal_controller.h"
#include "desktop/pedal_source.h"
#include "i18n/captions.h"

namespace quillory {

FootPedals::FootPedals(PedalSource &source, PedalController &controller,
                       AccessDenied onAccessDenied, QObject *parent)
    : QObject(parent), m_controller(controller), m_onAccessDenied(std::move(onAccessDenied))
{
    connect(&source, &PedalSource::deviceAdded, this,
            [this](int device, const PedalModel &model) { m_models.insert(device, model); });
    connect(&source, &PedalSource::report, this, &FootPedals::onReport);
    connect(&source, &PedalSource::deviceRemoved, this, [this](int device) {
        m_models.remove(device);
        m_controller.deviceLost(device);
    });
    connect(&source, &PedalSource::accessDenied, this,
            [this](const QString &path, const PedalModel &model) {
                if (m_toldAccess)
                    return;
                m_toldAccess = true;
                if (m_onAccessDenied)
                    m_onAccessDenied(path, model);
            });
}

void FootPedals::onReport(int device, const QByteArray &bytes)
{
    const auto it = m_models.constFind(device);
    if (it == m_models.constEnd())
        return;
    if (const std::optional<PedalState> state = it->decode(bytes))
        m_controller.pedalsChanged(device, *state);
}

QString FootPedals::accessMessage(const QString &devicePath, const PedalModel &model)
{
    const QString rule = QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", "
                                        "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
                             .arg(model.vendor, 4, 16, QLatin1Char('0'))
                             .arg(model.product, 4, 16, QLatin1Char('0'));
    return caption(
               QStringLiteral("pedal.noAccess"),
               QStringLiteral("The foot pedal %1 (%2) cannot be read.\nInstall the file "
                              "70-quillory-pedals.rules in /etc/udev/rules.d with the line\n%3\n"
                              "then unplug the pedal and plug it in again."))
        .arg(model.name, devicePath, rule);
}

} // namespace quillory
