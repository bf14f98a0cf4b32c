#include "desktop/SleepInhibitor.h"

namespace tivora {

SleepInhibitor::~SleepInhibitor() {
    setInhibited(false);
}

void SleepInhibitor::setInhibited(bool on) {
    if (on == inhibited_) {
        return;
    }
    inhibited_ = on;
    if (on) {
        hold();
    } else {
        release();
    }
}

}  // namespace tivora
