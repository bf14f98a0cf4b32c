#include "demo-portal/PortalCommandLine.h"

#include <filesystem>
#include <optional>

namespace tivora::demo {

namespace {

std::optional<int> portNumber(const std::string& text) {
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    int port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

}  // namespace

std::string PortalCommandLine::usage() {
    return "Usage: tivora-portal [options]\n"
           "Serves the Tivora demo film portal until interrupted.\n"
           "\n"
           "  --bind ADDR             address to listen on (default 127.0.0.1)\n"
           "  --port N                port to listen on; 0 picks a free one (default 0)\n"
           "  --db FILE               SQLite database (default: demo-portal.sqlite in the\n"
           "                          user's data folder; :memory: keeps nothing)\n"
           "  --latest-version X.Y    version the check page announces (default 1.0)\n"
           "  --installer FILE        file served as the installer (default: a demo script)\n"
           "  --help                  show this help\n";
}

PortalCommandLine::Result PortalCommandLine::parse(const std::vector<std::string>& arguments) {
    Result result;
    const auto error = [&result](std::string message) {
        result.action = Action::Error;
        result.message = std::move(message) + "\nTry 'tivora-portal --help'.";
        return result;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            result.action = Action::Help;
            result.message = usage();
            return result;
        }
        if (name != "--bind" && name != "--port" && name != "--db" && name != "--latest-version" &&
            name != "--installer") {
            return error("unknown option: " + arguments[i]);
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                return error("missing value for " + name);
            }
            value = arguments[++i];
        }
        if (name == "--bind") {
            if (value->empty()) {
                return error("--bind needs an address");
            }
            result.options.bind = *value;
        } else if (name == "--port") {
            const auto port = portNumber(*value);
            if (!port) {
                return error("--port needs a number from 0 to 65535, not \"" + *value + "\"");
            }
            result.options.port = *port;
        } else if (name == "--db") {
            if (value->empty()) {
                return error("--db needs a file name");
            }
            result.options.database = *value;
        } else if (name == "--latest-version") {
            if (!isValidLatestVersion(*value)) {
                return error("--latest-version needs the form digit.digit (e.g. 1.2), not \"" +
                             *value + "\"");
            }
            result.options.latestVersion = *value;
        } else {
            std::error_code ignored;
            if (!std::filesystem::is_regular_file(std::filesystem::path(*value), ignored)) {
                return error("--installer: no such file: " + *value);
            }
            result.options.installerPath = *value;
        }
    }
    return result;
}

}  // namespace tivora::demo
