#include "demo-portal/HttpRequest.h"

#include "demo-portal/RequestTarget.h"

#include <algorithm>

namespace tivora::demo {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

HttpRequest::HttpRequest(std::string method, std::string target)
    : method_(std::move(method)), target_(std::move(target)) {
    const std::string_view whole(target_);
    path_ = RequestTarget::decoded(whole.substr(0, whole.find('?')), false);
    std::string_view query = RequestTarget::query(whole);
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const auto equals = pair.find('=');
        const std::string_view key = pair.substr(0, equals);
        if (key.empty()) {
            continue;
        }
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
        params_.emplace(RequestTarget::decoded(key, true), RequestTarget::decoded(value, true));
    }
}

void HttpRequest::addHeader(std::string name, std::string value) {
    headers_.emplace_back(std::move(name), std::move(value));
}

std::string HttpRequest::header(std::string_view name) const {
    const auto it = std::find_if(headers_.begin(), headers_.end(),
                                 [&](const auto& field) { return sameName(field.first, name); });
    return it == headers_.end() ? std::string() : it->second;
}

std::size_t HttpRequest::headerCount(std::string_view name) const {
    return static_cast<std::size_t>(
        std::count_if(headers_.begin(), headers_.end(),
                      [&](const auto& field) { return sameName(field.first, name); }));
}

std::string HttpRequest::param(std::string_view key) const {
    const auto it = params_.find(key);
    return it == params_.end() ? std::string() : it->second;
}

bool HttpRequest::hasParam(std::string_view key) const {
    return params_.find(key) != params_.end();
}

}  // namespace tivora::demo
