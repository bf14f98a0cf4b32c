#include "forms/BrowserPane.h"

namespace tivora {

BrowserPane::~BrowserPane() = default;

}  // namespace tivora
