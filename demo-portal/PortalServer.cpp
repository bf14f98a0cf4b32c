#include "demo-portal/PortalServer.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/string.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

namespace tivora::demo {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using boost::system::error_code;

// How long a closing connection keeps reading, so that what the client still sends does not
// reset the connection before it has read the answer.
constexpr auto lingerTime = std::chrono::seconds(2);
constexpr auto paceTick = std::chrono::milliseconds(100);
// Connections being told that the server is full, at most.
constexpr std::size_t maxRefusals = 256;
constexpr std::string_view continueLine = "HTTP/1.1 100 Continue\r\n\r\n";

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || failure != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// One "bytes=FIRST-LAST" range of a whole answer: 206 with the part, or 416 when it starts past
// the end. Other forms (several ranges, other units) get the whole answer.
void applyRange(HttpResponse& response, std::string_view range) {
    constexpr std::string_view unit = "bytes=";
    if (!range.starts_with(unit) || range.find(',') != std::string_view::npos) {
        return;
    }
    range.remove_prefix(unit.size());
    const auto dash = range.find('-');
    if (dash == std::string_view::npos) {
        return;
    }
    const std::uint64_t size = response.body.size();
    const auto first = number(range.substr(0, dash));
    const auto last = number(range.substr(dash + 1));
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    if (dash == 0) {
        if (!last) {
            return;
        }
        start = size - std::min(*last, size);
        end = size == 0 ? 0 : size - 1;
        if (*last == 0 || size == 0) {
            start = size;
        }
    } else {
        if (!first || (dash + 1 < range.size() && (!last || *last < *first))) {
            return;
        }
        start = *first;
        end = last && size > 0 ? std::min(*last, size - 1) : size - 1;
    }
    if (start >= size) {
        response.status = 416;
        response.setHeader("Content-Range", "bytes */" + std::to_string(size));
        response.body.clear();
        return;
    }
    response.status = 206;
    response.setHeader("Content-Range", "bytes " + std::to_string(start) + "-" +
                                            std::to_string(end) + "/" + std::to_string(size));
    response.body = response.body.substr(start, end - start + 1);
}

std::string withoutLineBreaks(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

struct PortalServer::State {
    State(Handler handler, ErrorPage errorPage, Limits limits)
        : handler(std::move(handler)), errorPage(std::move(errorPage)), limits(limits) {}

    void accept();
    void admit(tcp::socket socket);
    void forget(Connection* connection, bool refused);
    void closeAll();

    Handler handler;
    ErrorPage errorPage;
    Limits limits;
    // Declared first, so that it outlives everything holding its sockets and timers.
    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    asio::steady_timer acceptRetry{io};
    std::optional<asio::thread_pool> workers;
    std::thread thread;
    // Touched on the event loop only.
    std::unordered_map<Connection*, std::weak_ptr<Connection>> connections;
    std::size_t serving = 0;
    std::size_t refusing = 0;
    std::size_t maxRefusing = maxRefusals;
    std::atomic<bool> stopping = false;
};

class PortalServer::Connection final : public std::enable_shared_from_this<Connection> {
public:
    Connection(State& server, tcp::socket socket, bool refused)
        : server_(server),
          stream_(std::move(socket)),
          buffer_(server.limits.maxHeader + server.limits.maxBody),
          deadline_(server.io),
          pace_(server.io),
          refused_(refused) {}

    void start() {
        if (refused_) {
            fail(503);
        } else {
            waitForRequest();
        }
    }

    void close() {
        if (closed_) {
            return;
        }
        ++generation_;
        deadline_.cancel();
        pace_.cancel();
        {
            const std::lock_guard lock(socketMutex_);
            closed_ = true;
            error_code ignored;
            stream_.socket().close(ignored);
        }
        server_.forget(this, refused_);
    }

private:
    // Until a request begins only the idle timeout applies; its deadline starts with its first
    // byte (at once for one already sent behind the last).
    void waitForRequest() {
        if (buffer_.size() > 0) {
            return readRequest();
        }
        arm(server_.limits.idleTimeout);
        stream_.socket().async_wait(tcp::socket::wait_read,
                                    [self = shared_from_this()](error_code ec) {
                                        if (ec || self->timedOut_) {
                                            return self->close();
                                        }
                                        self->readRequest();
                                    });
    }

    void readRequest() {
        arm(server_.limits.requestDeadline);
        parser_.emplace();
        parser_->header_limit(static_cast<std::uint32_t>(server_.limits.maxHeader));
        parser_->body_limit(server_.limits.maxBody);
        http::async_read_header(
            stream_, buffer_, *parser_,
            [self = shared_from_this()](error_code ec, std::size_t) { self->onHeader(ec); });
    }

    void onHeader(error_code ec) {
        if (closed_) {
            return;
        }
        if (ec || timedOut_) {
            return onReadError(ec);
        }
        const auto& request = parser_->get();
        const Limits& limits = server_.limits;
        if (request.target().size() > limits.maxTarget) {
            return fail(414);
        }
        std::size_t fields = 0;
        for (const auto& field : request) {
            if (++fields > limits.maxFields ||
                field.name_string().size() + 2 + field.value().size() > limits.maxFieldLine) {
                return fail(400);
            }
        }
        if (parser_->is_done()) {
            return dispatch();
        }
        const auto expect = request[http::field::expect];
        if (!expect.empty()) {
            if (!beast::iequals(expect, "100-continue")) {
                return fail(417);
            }
            return asio::async_write(stream_, asio::buffer(continueLine),
                                     [self = shared_from_this()](error_code written, std::size_t) {
                                         if (written) {
                                             return self->close();
                                         }
                                         self->readBody();
                                     });
        }
        readBody();
    }

    void readBody() {
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](error_code ec, std::size_t) {
                             if (self->closed_) {
                                 return;
                             }
                             if (ec || self->timedOut_) {
                                 return self->onReadError(ec);
                             }
                             self->dispatch();
                         });
    }

    void onReadError(error_code ec) {
        if (timedOut_) {
            return fail(408);
        }
        if (ec == http::error::header_limit) {
            // Cut before the end of the first line: the request line itself is too long.
            const auto bytes = buffer_.cdata();
            const std::string_view seen(static_cast<const char*>(bytes.data()), bytes.size());
            return fail(seen.find('\n') == std::string_view::npos ? 414 : 400);
        }
        if (ec == http::error::body_limit) {
            return fail(413);
        }
        if (ec.category() == http::make_error_code(http::error::end_of_stream).category() &&
            ec != http::error::end_of_stream && ec != http::error::partial_message) {
            return fail(400);
        }
        close();
    }

    void dispatch() {
        disarm();
        auto& message = parser_->get();
        auto request = std::make_shared<HttpRequest>(std::string(message.method_string()),
                                                     std::string(message.target()));
        for (const auto& field : message) {
            request->addHeader(std::string(field.name_string()), std::string(field.value()));
        }
        const bool keepAlive = message.keep_alive();
        const bool head = message.method() == http::verb::head;
        const bool http10 = message.version() < 11;
        const std::string range =
            message.method() == http::verb::get ? std::string(message[http::field::range]) : "";
        parser_.reset();
        asio::post(*server_.workers, [self = shared_from_this(), request, keepAlive, head, http10,
                                      range]() mutable {
            auto response = std::make_shared<HttpResponse>();
            try {
                self->server_.handler(*request, *response);
            } catch (const std::exception&) {
                *response = HttpResponse{};
                response->status = 500;
            }
            if (response->status == 200 && !range.empty() && response->bytesPerSecond <= 0) {
                applyRange(*response, range);
            }
            auto answer = std::make_shared<Answer>(
                self->frame(std::move(*response), keepAlive, head, http10));
            // Out at once from here, so that the client need not wait for the event loop to
            // come round; the loop only learns that it went.
            answer->sent = self->sendNow(*answer);
            auto& io = self->server_.io;
            asio::post(io, [self = std::move(self), answer] { self->send(std::move(*answer)); });
        });
    }

    // Answers status itself and closes.
    void fail(int status) {
        disarm();
        parser_.reset();
        HttpResponse response;
        response.status = status;
        response.setContent(server_.errorPage(status), "text/html; charset=utf-8");
        send(frame(std::move(response), false, false, false));
    }

    // An answer framed for the wire.
    struct Answer {
        std::string head;
        std::string body;
        std::size_t piece = 0;  // the body goes out this much at a time, a tick apart
        bool keepAlive = false;
        std::size_t sent = 0;  // bytes of head and body already written
    };

    [[nodiscard]] Answer frame(HttpResponse response, bool keepAlive, bool head,
                               bool http10) const {
        Answer answer;
        answer.keepAlive = keepAlive && !server_.stopping;
        std::string& text = answer.head;
        text = "HTTP/1.1 " + std::to_string(response.status) + " " +
               std::string(http::obsolete_reason(
                   http::int_to_status(static_cast<unsigned>(response.status)))) +
               "\r\n";
        for (const auto& [name, value] : response.headers) {
            text += name + ": " + withoutLineBreaks(value) + "\r\n";
        }
        if (response.status == 200 || response.status == 206) {
            text += "Accept-Ranges: bytes\r\n";
        }
        text += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
        if (!answer.keepAlive) {
            text += "Connection: close\r\n";
        } else if (http10) {
            text += "Connection: keep-alive\r\n";
        }
        text += "\r\n";
        answer.body = head ? std::string() : std::move(response.body);
        answer.piece = response.bytesPerSecond > 0
                           ? static_cast<std::size_t>(std::max(1, response.bytesPerSecond / 10))
                           : answer.body.size();
        return answer;
    }

    // Writes what the socket takes without waiting (nothing of a paced answer); the count.
    // Runs on a worker while the event loop leaves the connection alone, close() aside.
    std::size_t sendNow(const Answer& answer) {
        if (answer.piece < answer.body.size()) {
            return 0;
        }
        const std::lock_guard lock(socketMutex_);
        if (closed_) {
            return 0;
        }
        std::array<iovec, 2> parts{
            iovec{const_cast<char*>(answer.head.data()), answer.head.size()},
            iovec{const_cast<char*>(answer.body.data()), answer.body.size()}};
        msghdr message{};
        message.msg_iov = parts.data();
        message.msg_iovlen = answer.body.empty() ? 1 : 2;
        const int socket = stream_.socket().native_handle();
        const ssize_t sent = ::sendmsg(socket, &message, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent <= 0) {
            return 0;
        }
        const auto count = static_cast<std::size_t>(sent);
        if (!answer.keepAlive && count == answer.head.size() + answer.body.size()) {
            // The client learns at once that nothing follows.
            ::shutdown(socket, SHUT_WR);
        }
        return count;
    }

    void send(Answer answer) {
        if (closed_) {
            return;
        }
        keepAlive_ = answer.keepAlive;
        head_ = std::move(answer.head);
        body_ = std::move(answer.body);
        piece_ = answer.piece;
        sent_ = 0;
        const std::size_t already = answer.sent;
        if (already == head_.size() + body_.size()) {
            return answered();
        }
        stream_.expires_after(server_.limits.writeDeadline);
        if (piece_ < body_.size()) {
            asio::async_write(stream_, asio::buffer(head_),
                              [self = shared_from_this()](error_code ec, std::size_t) {
                                  if (ec) {
                                      return self->close();
                                  }
                                  self->sendPiece();
                              });
            return;
        }
        const std::size_t headLeft = head_.size() - std::min(already, head_.size());
        const std::size_t bodyDone = already - (head_.size() - headLeft);
        const std::array<asio::const_buffer, 2> rest{
            asio::buffer(head_.data() + head_.size() - headLeft, headLeft),
            asio::buffer(body_.data() + bodyDone, body_.size() - bodyDone)};
        asio::async_write(stream_, rest, [self = shared_from_this()](error_code ec, std::size_t) {
            if (ec) {
                return self->close();
            }
            self->answered();
        });
    }

    // The next piece of a paced answer, a tick after the last.
    void sendPiece() {
        if (sent_ >= body_.size()) {
            return answered();
        }
        pace_.expires_after(paceTick);
        pace_.async_wait([self = shared_from_this()](error_code ec) {
            if (ec || self->closed_) {
                return;
            }
            const std::size_t length = std::min(self->piece_, self->body_.size() - self->sent_);
            self->stream_.expires_after(self->server_.limits.writeDeadline);
            asio::async_write(self->stream_, asio::buffer(self->body_.data() + self->sent_, length),
                              [self](error_code written, std::size_t count) {
                                  if (written) {
                                      return self->close();
                                  }
                                  self->sent_ += count;
                                  self->sendPiece();
                              });
        });
    }

    void answered() {
        stream_.expires_never();
        if (buffer_.size() == 0) {
            buffer_.shrink_to_fit();
        }
        head_.clear();
        body_.clear();
        body_.shrink_to_fit();
        if (keepAlive_ && !server_.stopping) {
            return waitForRequest();
        }
        lingerThenClose();
    }

    void lingerThenClose() {
        error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        arm(lingerTime);
        drain();
    }

    void drain() {
        buffer_.consume(buffer_.size());
        stream_.socket().async_read_some(buffer_.prepare(1024),
                                         [self = shared_from_this()](error_code ec, std::size_t) {
                                             if (ec || self->timedOut_) {
                                                 return self->close();
                                             }
                                             self->drain();
                                         });
    }

    // After this long, whatever is being read is cut short with timedOut_ set.
    void arm(std::chrono::milliseconds after) {
        timedOut_ = false;
        const unsigned generation = ++generation_;
        deadline_.expires_after(after);
        deadline_.async_wait([self = shared_from_this(), generation](error_code ec) {
            if (ec || generation != self->generation_ || self->closed_) {
                return;
            }
            self->timedOut_ = true;
            error_code ignored;
            self->stream_.socket().cancel(ignored);
        });
    }

    void disarm() {
        ++generation_;
        timedOut_ = false;
        deadline_.cancel();
    }

    State& server_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    asio::steady_timer deadline_;
    asio::steady_timer pace_;
    unsigned generation_ = 0;
    bool timedOut_ = false;
    bool closed_ = false;  // set under socketMutex_, which a worker's sendNow() holds
    std::mutex socketMutex_;
    bool refused_;
    bool keepAlive_ = false;
    std::string head_;
    std::string body_;
    std::size_t sent_ = 0;
    std::size_t piece_ = 0;
};

void PortalServer::State::accept() {
    acceptor.async_accept([this](error_code ec, tcp::socket socket) {
        if (stopping || ec == asio::error::operation_aborted) {
            return;
        }
        if (ec) {
            // Out of descriptors or memory for the moment: try again shortly rather than spin.
            acceptRetry.expires_after(std::chrono::milliseconds(50));
            acceptRetry.async_wait([this](error_code waited) {
                if (!waited && !stopping) {
                    accept();
                }
            });
            return;
        }
        admit(std::move(socket));
        accept();
    });
}

void PortalServer::State::admit(tcp::socket socket) {
    const bool refused = serving >= limits.maxConnections;
    if (refused && refusing >= maxRefusing) {
        return;  // no room even to say so; the socket closes here
    }
    error_code ignored;
    // Headers and body go out in one write, but a paced answer's pieces should not wait for
    // acknowledgements.
    socket.set_option(tcp::no_delay(true), ignored);
    auto connection = std::make_shared<Connection>(*this, std::move(socket), refused);
    connections.emplace(connection.get(), connection);
    ++(refused ? refusing : serving);
    connection->start();
}

void PortalServer::State::forget(Connection* connection, bool refused) {
    if (connections.erase(connection) > 0) {
        --(refused ? refusing : serving);
    }
}

void PortalServer::State::closeAll() {
    stopping = true;
    error_code ignored;
    acceptor.close(ignored);
    acceptRetry.cancel();
    // close() edits the map, so work on a copy.
    std::vector<std::shared_ptr<Connection>> open;
    for (const auto& [key, weak] : connections) {
        if (auto connection = weak.lock()) {
            open.push_back(std::move(connection));
        }
    }
    for (const auto& connection : open) {
        connection->close();
    }
}

PortalServer::PortalServer(Handler handler, ErrorPage errorPage, Limits limits)
    : state_(std::make_unique<State>(std::move(handler), std::move(errorPage), limits)) {}

PortalServer::~PortalServer() {
    try {
        stop();
    } catch (const std::exception&) {
        // A destructor must not throw; a thread that cannot be joined is past stopping.
    }
}

int PortalServer::listen(const std::string& host, int port, std::string* error) {
    const auto failed = [error](const std::string& why) {
        if (error) {
            *error = why;
        }
        return 0;
    };
    if (port < 0 || port > 65535) {
        return failed("no such port");
    }
    error_code ec;
    tcp::endpoint endpoint;
    const auto address = asio::ip::make_address(host, ec);
    if (!ec) {
        endpoint = tcp::endpoint(address, static_cast<std::uint16_t>(port));
    } else {
        tcp::resolver resolver(state_->io);
        const auto found = resolver.resolve(host, std::to_string(port), tcp::resolver::passive, ec);
        if (ec || found.empty()) {
            return failed(ec ? ec.message() : "no such address");
        }
        endpoint = found.begin()->endpoint();
    }
    auto& acceptor = state_->acceptor;
    acceptor.open(endpoint.protocol(), ec);
    // Only a port merely waiting to close may be taken over, never one in use.
    if (!ec) {
        acceptor.set_option(tcp::acceptor::reuse_address(true), ec);
    }
    if (!ec) {
        acceptor.bind(endpoint, ec);
    }
    if (!ec) {
        acceptor.listen(asio::socket_base::max_listen_connections, ec);
    }
    if (ec) {
        error_code ignored;
        acceptor.close(ignored);
        return failed(ec.message());
    }
    // Each connection needs a descriptor: keep within what the process may open, with room
    // for the database and the refusals.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY) {
        const auto room = static_cast<std::size_t>(files.rlim_cur > 64 ? files.rlim_cur - 64 : 2);
        auto& limit = state_->limits.maxConnections;
        limit = std::max<std::size_t>(1, std::min(limit, room * 3 / 4));
        state_->maxRefusing = std::max<std::size_t>(1, std::min(maxRefusals, room - limit));
    }
    return acceptor.local_endpoint().port();
}

void PortalServer::start() {
    State& state = *state_;
    if (state.thread.joinable() || !state.acceptor.is_open()) {
        return;
    }
    state.stopping = false;
    state.workers.emplace(std::max<std::size_t>(1, state.limits.workers));
    state.accept();
    state.thread = std::thread([&state] { state.io.run(); });
}

void PortalServer::stop() {
    State& state = *state_;
    if (!state.thread.joinable()) {
        return;
    }
    // Pending operations of the closed connections end with errors; those are run below.
    asio::post(state.io, [&state] {
        state.closeAll();
        state.io.stop();
    });
    state.thread.join();
    state.workers->join();
    state.workers.reset();
    // Answers the workers finished meanwhile find their connections closed.
    state.io.restart();
    state.io.poll();
}

}  // namespace tivora::demo
