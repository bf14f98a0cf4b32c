#include "demo-portal/HttpResponse.h"

#include <algorithm>

namespace tivora::demo {

void HttpResponse::setHeader(std::string name, std::string value) {
    const auto it = std::find_if(headers.begin(), headers.end(),
                                 [&](const auto& field) { return field.first == name; });
    if (it == headers.end()) {
        headers.emplace_back(std::move(name), std::move(value));
    } else {
        it->second = std::move(value);
    }
}

std::string HttpResponse::header(std::string_view name) const {
    const auto it = std::find_if(headers.begin(), headers.end(),
                                 [&](const auto& field) { return field.first == name; });
    return it == headers.end() ? std::string() : it->second;
}

void HttpResponse::setContent(std::string content, std::string contentType) {
    body = std::move(content);
    setHeader("Content-Type", std::move(contentType));
}

void HttpResponse::setRedirect(std::string location) {
    status = 302;
    setHeader("Location", std::move(location));
}

}  // namespace tivora::demo
