#pragma once

#include "demo-portal/PortalOptions.h"

#include <string>
#include <vector>

namespace tivora::demo {

// Reads the demo portal program's command line.
class PortalCommandLine final {
public:
    PortalCommandLine() = delete;

    enum class Action { Run, Help, Error };
    struct Result {
        Action action = Action::Run;
        PortalOptions options;
        std::string message;  // the help text or what is wrong
    };

    // arguments without the program name. Options take "--name VALUE" or "--name=VALUE".
    [[nodiscard]] static Result parse(const std::vector<std::string>& arguments);
    [[nodiscard]] static std::string usage();
    // The exit status for an action that does not run the server.
    [[nodiscard]] static int exitCode(Action action) { return action == Action::Help ? 0 : 2; }
};

}  // namespace tivora::demo
