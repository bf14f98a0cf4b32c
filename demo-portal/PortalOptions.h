#pragma once

#include <string>
#include <string_view>

namespace tivora::demo {

// How a demo portal listens and where it keeps its visitors' data.
struct PortalOptions {
    std::string bind = "127.0.0.1";
    int port = 0;          // 0: any free port
    std::string database;  // SQLite file, ":memory:", or empty for the user's data folder
    std::string latestVersion = "1.0";  // "X.Y", one digit each
    std::string installerPath;          // empty: the built-in demo installer
    int installerBytesPerSecond = 0;    // the installer's pace, to watch a download; 0: at once
};

// True for a version of the form digit.digit, as the check page can only announce those.
[[nodiscard]] constexpr bool isValidLatestVersion(std::string_view version) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return version.size() == 3 && digit(version[0]) && version[1] == '.' && digit(version[2]);
}

}  // namespace tivora::demo
