#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tivora::demo {

// Reads the parts of request addresses that the portal's own links carry.
class RequestTarget final {
public:
    RequestTarget() = delete;

    // The query of a raw request target, without the "?"; "" when there is none.
    [[nodiscard]] static std::string_view query(std::string_view target);
    // True when a "%" is not followed by two hexadecimal digits.
    [[nodiscard]] static bool hasMalformedEscape(std::string_view target);
    // text with each "%XX" escape replaced by its byte, and "+" by a space when plusIsSpace; a
    // malformed escape stays as it is.
    [[nodiscard]] static std::string decoded(std::string_view text, bool plusIsSpace);
    // A film id written in decimal: 1 to 9 digits, nothing else.
    [[nodiscard]] static std::optional<int> filmId(std::string_view text);
    // The film of a play address's query, "ID-SOURCE-EPISODE.html", e.g. "1001-0-0.html".
    [[nodiscard]] static std::optional<int> playFilmId(std::string_view query);
};

}  // namespace tivora::demo
