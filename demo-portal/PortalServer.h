#pragma once

#include "demo-portal/HttpRequest.h"
#include "demo-portal/HttpResponse.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace tivora::demo {

// The portal's HTTP/1.1 server: one event-loop thread holds every connection, so an idle or
// slow client costs a socket and a few buffers, not a thread. Each request must arrive whole,
// headers and body, within a deadline counted from its first byte, whatever pace it drips at;
// sizes and open connections are bounded; pages are made on a small fixed pool of workers.
class PortalServer final {
public:
    struct Limits {
        std::size_t maxTarget = 8192;       // a longer request target: 414
        std::size_t maxFieldLine = 8192;    // a longer header line ("Name: value"): 400
        std::size_t maxFields = 100;        // more header lines: 400
        std::size_t maxHeader = 64 * 1024;  // the whole header block
        std::size_t maxBody = 16 * 1024;    // a larger body: 413
        // From a request's first byte to its last: else 408 and the connection is cut.
        std::chrono::milliseconds requestDeadline{4000};
        // A connection with no request under way is closed after this.
        std::chrono::milliseconds idleTimeout{20000};
        // For each write of an answer to a client that does not read it.
        std::chrono::milliseconds writeDeadline{15000};
        // Connections served at once; later ones get 503 and are closed.
        std::size_t maxConnections = 1024;
        std::size_t workers = 8;
    };
    // Fills response for request; called on a worker thread, several at once.
    using Handler = std::function<void(HttpRequest& request, HttpResponse& response)>;
    // The page sent with an error status the server answers itself.
    using ErrorPage = std::function<std::string(int status)>;

    PortalServer(Handler handler, ErrorPage errorPage, Limits limits);
    ~PortalServer();
    PortalServer(const PortalServer&) = delete;
    PortalServer& operator=(const PortalServer&) = delete;

    // Binds host:port (0: any free port). Returns the port, or 0 with why in error.
    int listen(const std::string& host, int port, std::string* error);
    // Serves on its own threads until stop().
    void start();
    // Closes every connection and waits for the threads.
    void stop();

private:
    class Connection;
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tivora::demo
