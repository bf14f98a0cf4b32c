#include "demo-portal/ConnectionGuard.h"

#include <utility>

#ifdef __linux__
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>
#endif

namespace tivora::demo {

namespace {

constexpr auto kWatchInterval = std::chrono::milliseconds(100);

#ifdef __linux__

struct Peer {
    std::string address;
    int port = 0;
};

int portOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET) {
        sockaddr_in in{};
        std::memcpy(&in, &address, sizeof in);
        return ntohs(in.sin_port);
    }
    if (address.ss_family == AF_INET6) {
        sockaddr_in6 in6{};
        std::memcpy(&in6, &address, sizeof in6);
        return ntohs(in6.sin6_port);
    }
    return -1;
}

std::string textOf(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        sockaddr_in in{};
        std::memcpy(&in, &address, sizeof in);
        inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
    } else {
        sockaddr_in6 in6{};
        std::memcpy(&in6, &address, sizeof in6);
        inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
    }
    return text;
}

// The peer of a connection accepted on localPort; false for any other descriptor.
bool connectionPeer(int descriptor, int localPort, Peer& peer) {
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API
    if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &length) != 0 ||
        portOf(local) != localPort) {
        return false;
    }
    sockaddr_storage remote{};
    length = sizeof remote;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API
    if (getpeername(descriptor, reinterpret_cast<sockaddr*>(&remote), &length) != 0) {
        return false;  // the listening socket
    }
    peer = {textOf(remote), portOf(remote)};
    return true;
}

std::vector<int> openDescriptors() {
    std::vector<int> descriptors;
    DIR* folder = opendir("/proc/self/fd");
    if (!folder) {
        return descriptors;
    }
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] >= '0' && entry->d_name[0] <= '9') {
            descriptors.push_back(std::atoi(entry->d_name));
        }
    }
    closedir(folder);
    return descriptors;
}

void answerTimeout(int descriptor) {
    static constexpr std::string_view answer =
        "HTTP/1.1 408 Request Timeout\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    static_cast<void>(send(descriptor, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT));
    // The worker reading it sees the end of the stream and closes the connection.
    shutdown(descriptor, SHUT_RDWR);
}

#endif

}  // namespace

ConnectionGuard::ConnectionGuard(int port, std::chrono::milliseconds deadline)
    : port_(port), deadline_(deadline) {
#ifdef __linux__
    watcher_ = std::thread([this] { watch(); });
#endif
}

ConnectionGuard::~ConnectionGuard() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (watcher_.joinable()) {
        watcher_.join();
    }
}

void ConnectionGuard::connectionAccepted() {
#ifdef __linux__
    const auto deadline = Clock::now() + deadline_;
    const std::lock_guard lock(mutex_);
    for (const int descriptor : openDescriptors()) {
        Peer peer;
        if (!connectionPeer(descriptor, port_, peer)) {
            continue;
        }
        const auto known = watched_.find(descriptor);
        // A number reused by a newer connection counts as new.
        if (known == watched_.end() || known->second.peerPort != peer.port ||
            known->second.peerAddress != peer.address) {
            watched_[descriptor] = {std::move(peer.address), peer.port, deadline};
        }
    }
#endif
}

void ConnectionGuard::requestRead(const std::string& peerAddress, int peerPort) {
    setDeadline(peerAddress, peerPort, Clock::time_point::max());
}

void ConnectionGuard::answered(const std::string& peerAddress, int peerPort) {
    setDeadline(peerAddress, peerPort, Clock::now() + deadline_);
}

void ConnectionGuard::setDeadline(const std::string& peerAddress, int peerPort,
                                  Clock::time_point deadline) {
    const std::lock_guard lock(mutex_);
    for (auto& [descriptor, watched] : watched_) {
        if (watched.peerPort == peerPort && watched.peerAddress == peerAddress) {
            watched.deadline = deadline;
            return;
        }
    }
}

void ConnectionGuard::watch() {
#ifdef __linux__
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, kWatchInterval, [this] { return stopping_; })) {
        const auto now = Clock::now();
        for (auto it = watched_.begin(); it != watched_.end();) {
            Peer peer;
            // Gone, or its number now belongs to another connection.
            if (!connectionPeer(it->first, port_, peer) || peer.port != it->second.peerPort ||
                peer.address != it->second.peerAddress) {
                it = watched_.erase(it);
            } else if (it->second.deadline <= now) {
                answerTimeout(it->first);
                it = watched_.erase(it);
            } else {
                ++it;
            }
        }
    }
#endif
}

}  // namespace tivora::demo
