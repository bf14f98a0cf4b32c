#include "demo-portal/VisitorCookie.h"

#include <QRandomGenerator>

namespace tivora::demo {

namespace {

constexpr std::size_t idLength = 32;

// Calls take(value) for each cookie of ours in the header until it returns false.
template <typename Take>
void forEachOurs(std::string_view cookieHeader, Take take) {
    while (!cookieHeader.empty()) {
        const auto end = cookieHeader.find(';');
        std::string_view pair = cookieHeader.substr(0, end);
        cookieHeader =
            end == std::string_view::npos ? std::string_view{} : cookieHeader.substr(end + 1);
        while (!pair.empty() && pair.front() == ' ') {
            pair.remove_prefix(1);
        }
        const auto equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == VisitorCookie::name &&
            !take(pair.substr(equals + 1))) {
            return;
        }
    }
}

}  // namespace

std::string VisitorCookie::fromHeader(std::string_view cookieHeader) {
    std::string id;
    forEachOurs(cookieHeader, [&id](std::string_view value) {
        if (isValidId(value)) {
            id = value;
            return false;
        }
        return true;
    });
    return id;
}

bool VisitorCookie::isForged(std::string_view cookieHeader) {
    bool forged = false;
    std::string_view first;
    forEachOurs(cookieHeader, [&](std::string_view value) {
        forged = !isValidId(value) || (!first.empty() && value != first);
        first = value;
        return !forged;
    });
    return forged;
}

std::string VisitorCookie::newId() {
    static constexpr char hex[] = "0123456789abcdef";
    std::string id;
    id.reserve(idLength);
    auto* random = QRandomGenerator::system();
    for (int half = 0; half < 2; ++half) {
        std::uint64_t bits = random->generate64();
        for (int digit = 0; digit < 16; ++digit, bits >>= 4) {
            id += hex[bits & 0xF];
        }
    }
    return id;
}

std::string VisitorCookie::setCookieValue(std::string_view id) {
    return std::string(name) + "=" + std::string(id) +
           "; Max-Age=315360000; Path=/; HttpOnly; SameSite=Lax";
}

bool VisitorCookie::isValidId(std::string_view id) {
    if (id.size() != idLength) {
        return false;
    }
    for (const char c : id) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

}  // namespace tivora::demo
