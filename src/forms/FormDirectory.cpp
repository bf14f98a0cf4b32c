#include "FormDirectory.h"

namespace tivora {

FormDirectory::~FormDirectory() = default;

}  // namespace tivora
