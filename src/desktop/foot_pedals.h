#pragma once

#include "desktop/pedal_models.h"

#include <QHash>
#include <QObject>
#include <functional>

namespace quillory {

class PedalController;
class PedalSource;

// Connects a source of foot-control reports to the controller: decodes each
// report by its device's model, releases what an unplugged device held, and
// tells once per run that a control is there but cannot be read.
class FootPedals : public QObject {
    Q_OBJECT
public:
    using AccessDenied = std::function<void(const QString &devicePath, const PedalModel &model)>;
    FootPedals(PedalSource &source, PedalController &controller, AccessDenied onAccessDenied,
               QObject *parent = nullptr);

    int connectedDevices() const { return static_cast<int>(m_models.size()); }

    // The message for a control the user may not read: the rule to install.
    static QString accessMessage(const QString &devicePath, const PedalModel &model);

private:
    void onReport(int device, const QByteArray &bytes);

    PedalController &m_controller;
    AccessDenied m_onAccessDenied;
    QHash<int, PedalModel> m_models;
    bool m_toldAccess = false;
};

} // namespace quillory
