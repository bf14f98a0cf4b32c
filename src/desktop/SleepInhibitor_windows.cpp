#include "desktop/SleepInhibitor.h"

#include <windows.h>

namespace tivora {

void SleepInhibitor::hold() {
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
    held_ = true;
}

void SleepInhibitor::release() {
    SetThreadExecutionState(ES_CONTINUOUS);
    held_ = false;
}

}  // namespace tivora
