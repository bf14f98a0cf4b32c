#include "desktop/MprisService.h"

namespace tivora {

std::unique_ptr<MediaControls> createSystemMediaControls() {
    return nullptr;
}

}  // namespace tivora
