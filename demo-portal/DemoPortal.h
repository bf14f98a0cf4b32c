#pragma once

#include "demo-portal/PortalOptions.h"

#include <memory>
#include <string>

namespace tivora::demo {

class PortalRoutes;
class PortalServer;
class PortalStore;

// The bundled film portal: an HTTP server on its own threads, serving the built-in catalogue and
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

    [[nodiscard]] bool isRunning() const { return server_ != nullptr; }
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
    std::unique_ptr<PortalServer> server_;
    int port_ = 0;
    std::string databasePath_;
};

}  // namespace tivora::demo
