#include "forms/Services.h"

#include "forms/MediaControls.h"

namespace tivora {

Services::~Services() = default;

std::unique_ptr<MediaControls> Services::createMediaControls() {
    return nullptr;
}

}  // namespace tivora
