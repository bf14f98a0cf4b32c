#pragma once

#include "demo-portal/PortalOptions.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace tivora::demo {

class ConnectionGuard;
class PortalRoutes;
class PortalStore;

// The bundled film portal: an HTTP server on its own thread, serving the built-in catalogue and
// keeping each visitor's favourites and play history in SQLite.
class DemoPortal final {
public:
    explicit DemoPortal(PortalOptions options);
    ~DemoPortal();
    DemoPortal(const DemoPortal&) = delete;
    DemoPortal& operator=(const DemoPortal&) = delete;

    // Opens the database, binds and serves; returns once requests are answered. On failure
    // returns false with why in error.
    bool start(std::string* error = nullptr);
    void stop();

    [[nodiscard]] bool isRunning() const { return thread_.joinable(); }
    [[nodiscard]] int port() const { return port_; }
    // "http://HOST:PORT" without a trailing slash; a wildcard bind address reads as loopback.
    [[nodiscard]] std::string root() const;
    // The maker's web site.
    [[nodiscard]] std::string siteRoot() const;
    // The database file in use ("" before start).
    [[nodiscard]] std::string databasePath() const { return databasePath_; }

    // Where the portal keeps its data when no database is given.
    [[nodiscard]] static std::string defaultDatabasePath();

private:
    bool fail(std::string* error, std::string message);

    PortalOptions options_;
    std::unique_ptr<PortalStore> store_;
    std::unique_ptr<PortalRoutes> routes_;
    std::unique_ptr<ConnectionGuard> guard_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    std::atomic<bool> listenerDone_ = false;
    int port_ = 0;
    std::string databasePath_;
};

}  // namespace tivora::demo
