#pragma once

// A foot-control source that replays report bytes instead of reading devices.

#include "desktop/pedal_source.h"

namespace quillory::test {

class FakePedalSource : public PedalSource {
public:
    int starts = 0;
    void start() override { ++starts; }

    void plug(int device, const PedalModel &model) { emit deviceAdded(device, model); }
    void send(int device, const QByteArray &bytes) { emit report(device, bytes); }
    void unplug(int device) { emit deviceRemoved(device); }
    void deny(const QString &path, const PedalModel &model) { emit accessDenied(path, model); }
};

} // namespace quillory::test
