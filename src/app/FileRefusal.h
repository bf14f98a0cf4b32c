#pragma once

#include "app/AppConfig.h"

#include <QString>

namespace tivora {

class Services;

// What the user is told of a FILE the command line refused; empty when none was.
[[nodiscard]] QString fileRefusalPrompt(const CommandLine& commandLine);

// Tells it in a message box: a file opened from a file manager has no terminal to read.
void tellFileRefusal(Services& services, const CommandLine& commandLine);

}  // namespace tivora
