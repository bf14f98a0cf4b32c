#include "demo-portal/PortalClient.h"

#include <httplib.h>

namespace tivora::demo::test {

namespace {

PortalClient::Reply toReply(const httplib::Result& result) {
    PortalClient::Reply reply;
    if (result) {
        reply.status = result->status;
        reply.body = result->body;
        reply.contentType = result->get_header_value("Content-Type");
        reply.setCookie = result->get_header_value("Set-Cookie");
        reply.location = result->get_header_value("Location");
    }
    return reply;
}

}  // namespace

PortalClient::PortalClient(int port)
    : client_(std::make_unique<httplib::Client>("127.0.0.1", port)) {
    // Targets go out as written, so tests control every byte of the query.
    client_->set_url_encode(false);
    client_->set_keep_alive(true);
    client_->set_connection_timeout(5);
    client_->set_read_timeout(10);
}

PortalClient::~PortalClient() = default;

PortalClient::Reply PortalClient::get(const std::string& target, const std::string& range) {
    httplib::Headers headers;
    if (!cookie_.empty()) {
        headers.emplace("Cookie", cookie_);
    }
    if (!range.empty()) {
        headers.emplace("Range", range);
    }
    headers.insert(extraHeaders_.begin(), extraHeaders_.end());
    Reply reply = toReply(client_->Get(target, headers));
    keepCookie(reply);
    return reply;
}

PortalClient::Reply PortalClient::post(const std::string& target, const std::string& body) {
    httplib::Headers headers;
    if (!cookie_.empty()) {
        headers.emplace("Cookie", cookie_);
    }
    headers.insert(extraHeaders_.begin(), extraHeaders_.end());
    Reply reply = toReply(client_->Post(target, headers, body, "application/octet-stream"));
    keepCookie(reply);
    return reply;
}

void PortalClient::addHeader(std::string name, std::string value) {
    extraHeaders_.emplace_back(std::move(name), std::move(value));
}

void PortalClient::keepCookie(const Reply& reply) {
    if (reply.setCookie.starts_with("tivora_visitor=")) {
        cookie_ = reply.setCookie.substr(0, reply.setCookie.find(';'));
    }
}

std::vector<std::string> allBetween(std::string_view text, std::string_view open,
                                    std::string_view close) {
    std::vector<std::string> found;
    for (auto start = text.find(open); start != std::string_view::npos;
         start = text.find(open, start)) {
        start += open.size();
        const auto end = text.find(close, start);
        if (end == std::string_view::npos) {
            break;
        }
        found.emplace_back(text.substr(start, end - start));
        start = end + close.size();
    }
    return found;
}

std::size_t occurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace tivora::demo::test
