#pragma once

#include <QStringView>

namespace tivora::trace {

// With TIVORA_TRACE_STARTUP=1 in the environment, prints "tivora.trace: <ms> <mark>" on stderr:
// milliseconds since the program was loaded. Costs one flag test otherwise.
void mark(QStringView what);

[[nodiscard]] bool enabled();

}  // namespace tivora::trace
