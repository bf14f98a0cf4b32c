#include "demo-portal/RequestTarget.h"
#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using tivora::demo::RequestTarget;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view target(reinterpret_cast<const char*>(data), size);
    const std::string_view query = RequestTarget::query(target);
    FUZZ_REQUIRE(query.find('#') == std::string_view::npos);
    FUZZ_REQUIRE(query.empty() || target.find('?') != std::string_view::npos);

    if (const auto id = RequestTarget::filmId(target)) {
        FUZZ_REQUIRE(*id >= 0 && *id <= 999999999);
        // Only the digits themselves, leading zeros aside.
        const std::string again = std::to_string(*id);
        FUZZ_REQUIRE(target.ends_with(again));
        FUZZ_REQUIRE(target.find_first_not_of("0123456789") == std::string_view::npos);
    }
    if (const auto film = RequestTarget::playFilmId(query)) {
        FUZZ_REQUIRE(query.ends_with(".html"));
        FUZZ_REQUIRE(query.starts_with(std::to_string(*film)) || query.starts_with("0"));
    }
    // A target with an escape cut short is always caught, wherever the rest came from.
    const bool malformed = RequestTarget::hasMalformedEscape(target);
    FUZZ_REQUIRE(RequestTarget::hasMalformedEscape(std::string(target) + "%"));
    FUZZ_REQUIRE(RequestTarget::hasMalformedEscape(std::string(target) + "%4") ||
                 target.ends_with("%"));
    FUZZ_REQUIRE(malformed || !target.ends_with("%"));
    // Decoding only ever shortens, and leaves text without escapes or pluses as it is.
    const std::string decoded = RequestTarget::decoded(target, true);
    FUZZ_REQUIRE(decoded.size() <= target.size());
    FUZZ_REQUIRE(target.find_first_of("%+") != std::string_view::npos || decoded == target);
    return 0;
}
