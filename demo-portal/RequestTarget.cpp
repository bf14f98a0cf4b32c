#include "demo-portal/RequestTarget.h"

namespace tivora::demo {

namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : c - 'A' + 10;
}

}  // namespace

std::string RequestTarget::decoded(std::string_view text, bool plusIsSpace) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2])) {
            bytes += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            bytes += plusIsSpace && c == '+' ? ' ' : c;
        }
    }
    return bytes;
}

bool RequestTarget::hasMalformedEscape(std::string_view target) {
    for (auto percent = target.find('%'); percent != std::string_view::npos;
         percent = target.find('%', percent + 1)) {
        if (percent + 2 >= target.size() || !isHexDigit(target[percent + 1]) ||
            !isHexDigit(target[percent + 2])) {
            return true;
        }
    }
    return false;
}

std::string_view RequestTarget::query(std::string_view target) {
    const auto question = target.find('?');
    if (question == std::string_view::npos) {
        return {};
    }
    std::string_view query = target.substr(question + 1);
    return query.substr(0, query.find('#'));
}

std::optional<int> RequestTarget::filmId(std::string_view text) {
    if (!allDigits(text) || text.size() > 9) {
        return std::nullopt;
    }
    int id = 0;
    for (const char c : text) {
        id = id * 10 + (c - '0');
    }
    return id;
}

std::optional<int> RequestTarget::playFilmId(std::string_view query) {
    constexpr std::string_view suffix = ".html";
    if (query.size() <= suffix.size() || query.substr(query.size() - suffix.size()) != suffix) {
        return std::nullopt;
    }
    query.remove_suffix(suffix.size());
    const auto first = query.find('-');
    const auto second = first == std::string_view::npos ? first : query.find('-', first + 1);
    if (second == std::string_view::npos ||
        !allDigits(query.substr(first + 1, second - first - 1)) ||
        !allDigits(query.substr(second + 1))) {
        return std::nullopt;
    }
    return filmId(query.substr(0, first));
}

}  // namespace tivora::demo
