#include "demo-portal/HtmlText.h"
#include "fuzz/FuzzCheck.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace tivora::demo;

namespace {

bool isValidUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdString() ==
           text;
}

std::string unescape(std::string_view text) {
    std::string plain;
    for (std::size_t at = 0; at < text.size();) {
        bool replaced = false;
        for (const auto& [entity, character] : {std::pair<std::string_view, char>{"&amp;", '&'},
                                                {"&lt;", '<'},
                                                {"&gt;", '>'},
                                                {"&quot;", '"'},
                                                {"&#39;", '\''}}) {
            if (text.substr(at, entity.size()) == entity) {
                plain += character;
                at += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            plain += text[at++];
        }
    }
    return plain;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string escaped = escapeHtml(bytes);
    FUZZ_REQUIRE(escaped.find_first_of("<>\"'") == std::string::npos);
    FUZZ_REQUIRE(unescape(escaped) == bytes);

    const std::string sanitized = sanitizeUtf8(bytes);
    FUZZ_REQUIRE(isValidUtf8(sanitized));
    FUZZ_REQUIRE(sanitizeUtf8(sanitized) == sanitized);

    const std::string text = queryText(bytes);
    FUZZ_REQUIRE(isValidUtf8(text));
    FUZZ_REQUIRE(text.find('\0') == std::string::npos);

    const std::string_view cut = trimmed(bytes);
    FUZZ_REQUIRE(cut.size() <= bytes.size());
    FUZZ_REQUIRE(asciiLower(bytes).size() == bytes.size());
    static_cast<void>(utf8Length(bytes));
    return 0;
}
