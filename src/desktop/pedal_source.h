#pragma once

#include "desktop/pedal_models.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace quillory {

// Where foot-control reports come from: finds the connected controls of the
// known models and delivers each input report as it arrives. The real one reads
// Linux hidraw devices; tests replay recorded reports.
class PedalSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Looks for devices now and from then on whenever one is plugged in.
    virtual void start() = 0;

signals:
    void deviceAdded(int device, const quillory::PedalModel &model);
    void report(int device, const QByteArray &bytes);
    // Unplugged or unreadable from now on.
    void deviceRemoved(int device);
    // A known control is there but the user may not read it.
    void accessDenied(const QString &devicePath, const quillory::PedalModel &model);
};

} // namespace quillory
