#include "forms/FormDirectory.h"

namespace tivora {

FormDirectory::~FormDirectory() = default;

}  // namespace tivora
