#include "SleepInhibitor.h"

#include <windows.h>

namespace tivora {

struct SleepInhibitor::Platform {};

SleepInhibitor::SleepInhibitor() : platform_(std::make_unique<Platform>()) {}

SleepInhibitor::~SleepInhibitor() {
    setInhibited(false);
}

void SleepInhibitor::setInhibited(bool on) {
    if (on == inhibited_) {
        return;
    }
    inhibited_ = on;
    SetThreadExecutionState(on ? (ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED)
                               : ES_CONTINUOUS);
}

}  // namespace tivora
