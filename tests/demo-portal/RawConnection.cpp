#include "demo-portal/RawConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace tivora::demo::test {

RawConnection::RawConnection(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API
    if (socket_ >= 0 &&
        ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket_);
        socket_ = -1;
    }
}

RawConnection::~RawConnection() {
    if (socket_ >= 0) {
        ::close(socket_);
    }
}

bool RawConnection::send(std::string_view bytes) const {
    while (!bytes.empty() && socket_ >= 0) {
        const ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return socket_ >= 0;
}

void RawConnection::shutdownSending() const {
    ::shutdown(socket_, SHUT_WR);
}

const std::string& RawConnection::received() {
    char buffer[4096];
    while (socket_ >= 0 && !closed_) {
        const ssize_t got = ::recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            received_.append(buffer, static_cast<std::size_t>(got));
        } else {
            closed_ = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
    }
    return received_;
}

bool RawConnection::closedByPeer() {
    static_cast<void>(received());
    return closed_;
}

std::vector<int> statuses(std::string_view text) {
    std::vector<int> found;
    constexpr std::string_view start = "HTTP/1.1 ";
    for (auto at = text.find(start); at != std::string_view::npos; at = text.find(start, at + 1)) {
        if (at == 0 || text.substr(at - 1, 1) == "\n") {
            found.push_back(std::stoi(std::string(text.substr(at + start.size(), 3))));
        }
    }
    return found;
}

}  // namespace tivora::demo::test
