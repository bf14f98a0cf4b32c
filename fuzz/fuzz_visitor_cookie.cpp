#include "demo-portal/VisitorCookie.h"
#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using tivora::demo::VisitorCookie;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view header(reinterpret_cast<const char*>(data), size);
    const std::string id = VisitorCookie::fromHeader(header);
    FUZZ_REQUIRE(id.empty() || VisitorCookie::isValidId(id));
    FUZZ_REQUIRE(id.empty() || header.find(id) != std::string_view::npos);
    // A header the portal's own cookie was appended to still names a visitor, and a second,
    // different one of ours makes it forged.
    const std::string own = VisitorCookie::newId();
    const std::string withOwn =
        std::string(header) + "; " + std::string(VisitorCookie::name) + "=" + own;
    FUZZ_REQUIRE(!VisitorCookie::fromHeader(withOwn).empty());
    if (!id.empty() && id != own) {
        FUZZ_REQUIRE(VisitorCookie::isForged(withOwn));
    }
    if (!VisitorCookie::isForged(header) && !id.empty()) {
        FUZZ_REQUIRE(VisitorCookie::fromHeader(header) == id);
    }
    const std::string set = VisitorCookie::setCookieValue(own);
    FUZZ_REQUIRE(VisitorCookie::fromHeader(set) == own);
    return 0;
}
