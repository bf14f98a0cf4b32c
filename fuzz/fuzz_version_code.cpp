#include "fuzz/FuzzCheck.h"
#include "portal/VersionCheck.h"

#include <cstddef>
#include <cstdint>

using namespace tivora::version;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString markup =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto code = versionCode(markup);
    if (code) {
        FUZZ_REQUIRE(code->size() == 2);
        FUZZ_REQUIRE(code->at(0).unicode() >= '0' && code->at(0).unicode() <= '9');
        FUZZ_REQUIRE(code->at(1).unicode() >= '0' && code->at(1).unicode() <= '9');
        FUZZ_REQUIRE(markup.contains(QStringLiteral("qor13")));
        const QString status = statusFor(*code);
        FUZZ_REQUIRE(status == kNoUpdateNeeded || status == kUpdateNeeded);
        FUZZ_REQUIRE(versionLabel(*code, status).endsWith(status));
    }
    // A version written after the page's text is found, whatever came before it.
    const QString appended = markup + QStringLiteral(" qor13=12");
    FUZZ_REQUIRE(versionCode(appended).has_value());
    static_cast<void>(serverAnswered(markup));
    static_cast<void>(isCurrentVersion(markup));
    return 0;
}
