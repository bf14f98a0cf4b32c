#pragma once

#include <string>
#include <string_view>

namespace tivora::demo {

// Files compiled into the program: catalogue, style sheets, sample videos, demo installer.
class Assets final {
public:
    Assets() = delete;

    // The whole file, or an empty string when there is no such asset.
    [[nodiscard]] static std::string bytes(std::string_view name);
    [[nodiscard]] static bool exists(std::string_view name);
};

}  // namespace tivora::demo
