#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tivora::demo {

// Text safe inside HTML or XML element content and quoted attribute values.
[[nodiscard]] std::string escapeHtml(std::string_view text);
// ASCII letters lowered; every other byte (so all of multi-byte UTF-8) kept.
[[nodiscard]] std::string asciiLower(std::string_view text);
// Characters, not bytes, of UTF-8 text.
[[nodiscard]] std::size_t utf8Length(std::string_view text);
// Valid UTF-8: each malformed sequence becomes U+FFFD.
[[nodiscard]] std::string sanitizeUtf8(std::string_view text);
// A query value's bytes as text: UTF-8 when they are, else GBK when they are that (portals of
// the old kind send it), else UTF-8 with the broken sequences replaced. NUL characters go.
[[nodiscard]] std::string queryText(std::string_view bytes);
// Without leading and trailing ASCII white space.
[[nodiscard]] std::string_view trimmed(std::string_view text);
// pattern with each "{N}" replaced by values[N]; other braces stay as they are.
[[nodiscard]] std::string fill(std::string_view pattern,
                               std::initializer_list<std::string_view> values);
// Percent-encoding of everything but unreserved characters, for query values.
[[nodiscard]] std::string percentEncode(std::string_view text);

}  // namespace tivora::demo
