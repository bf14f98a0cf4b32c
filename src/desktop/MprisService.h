#pragma once

#include "forms/MediaControls.h"

#include <memory>

namespace tivora {

// The desktop's media controls, one source per system: MPRIS 2 on the session bus on Linux, the
// system media transport controls on Windows, nothing where the system offers nothing. Null when
// there is no way to reach the desktop (no session bus, the name taken, no transport controls).
[[nodiscard]] std::unique_ptr<MediaControls> createSystemMediaControls();

}  // namespace tivora
