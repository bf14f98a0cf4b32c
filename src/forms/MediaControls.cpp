#include "forms/MediaControls.h"

namespace tivora {

MediaControls::~MediaControls() = default;

}  // namespace tivora
