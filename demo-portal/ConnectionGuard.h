#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tivora::demo {

// Keeps slow clients from stalling the portal. The server library bounds each read of a request,
// not the whole of it, so a client dripping one header line every few seconds holds a worker for
// as long as it likes. The guard gives each request a deadline from the moment its connection
// opens or its last answer went out; one still unread by then is answered 408 and cut.
//
// The library never names the socket it hands a worker, so the guard finds new connections among
// the process's descriptors (Linux); elsewhere only the worker pool's size guards the portal.
class ConnectionGuard final {
public:
    ConnectionGuard(int port, std::chrono::milliseconds deadline);
    ~ConnectionGuard();
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

    // Right after the server accepted a connection.
    void connectionAccepted();
    // A request of the peer's has been read whole / its answer has gone out.
    void requestRead(const std::string& peerAddress, int peerPort);
    void answered(const std::string& peerAddress, int peerPort);

private:
    using Clock = std::chrono::steady_clock;
    struct Watched {
        std::string peerAddress;
        int peerPort = 0;
        Clock::time_point deadline;  // max(): a request is being answered
    };

    void watch();
    void setDeadline(const std::string& peerAddress, int peerPort, Clock::time_point deadline);

    const int port_;
    const std::chrono::milliseconds deadline_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::map<int, Watched> watched_;  // by descriptor
    std::thread watcher_;
};

}  // namespace tivora::demo
