#include "forms/Services.h"

namespace tivora {

Services::~Services() = default;

}  // namespace tivora
