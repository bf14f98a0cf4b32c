#include "demo-portal/DemoPortal.h"

#include "demo-portal/Assets.h"
#include "demo-portal/Catalogue.h"
#include "demo-portal/ConnectionGuard.h"
#include "demo-portal/PortalRoutes.h"
#include "demo-portal/PortalStore.h"
#include "demo-portal/WorkerPool.h"

#include <QDir>
#include <QStandardPaths>

#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tivora::demo {

namespace {

constexpr std::size_t maxRequestBody = 16 * 1024;
// A request must arrive whole this long after its connection opened or its last answer left.
constexpr auto requestDeadline = std::chrono::seconds(4);
// Enough workers for dozens of slow clients at once besides the ones being served.
constexpr std::size_t maxWorkers = 128;

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    bytes = std::move(content).str();
    return !file.bad();
}

}  // namespace

DemoPortal::DemoPortal(PortalOptions options) : options_(std::move(options)) {}

DemoPortal::~DemoPortal() {
    stop();
}

bool DemoPortal::fail(std::string* error, std::string message) {
    if (error) {
        *error = std::move(message);
    }
    store_.reset();
    routes_.reset();
    server_.reset();
    guard_.reset();
    return false;
}

std::string DemoPortal::defaultDatabasePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return (folder + QStringLiteral("/demo-portal.sqlite")).toStdString();
}

bool DemoPortal::start(std::string* error) {
    if (isRunning()) {
        return true;
    }
    if (!isValidLatestVersion(options_.latestVersion)) {
        return fail(error,
                    "latest version must look like 1.0, not \"" + options_.latestVersion + "\"");
    }
    const Catalogue& catalogue = Catalogue::builtIn();
    if (catalogue.films().empty()) {
        return fail(error, "the built-in catalogue is missing");
    }
    std::string installer;
    std::string installerName = "tivora-setup.sh";
    if (options_.installerPath.empty()) {
        installer = Assets::bytes("demo-installer.sh");
    } else if (readFile(options_.installerPath, installer)) {
        installerName = std::filesystem::path(options_.installerPath).filename().string();
    } else {
        return fail(error, "cannot read installer " + options_.installerPath);
    }

    databasePath_ = options_.database.empty() ? defaultDatabasePath() : options_.database;
    std::string storeError;
    store_ = PortalStore::open(databasePath_, &storeError);
    if (!store_) {
        return fail(error, storeError);
    }
    routes_ = std::make_unique<PortalRoutes>(catalogue, *store_, options_.latestVersion,
                                             std::move(installer), installerName,
                                             options_.installerBytesPerSecond);

    server_ = std::make_unique<httplib::Server>();
    // Idle keep-alive connections would otherwise hold stop() for seconds.
    server_->set_keep_alive_timeout(1);
    // Headers and body go out in separate writes; waiting to merge them costs each answer
    // a delayed acknowledgement.
    server_->set_tcp_nodelay(true);
    server_->set_payload_max_length(maxRequestBody);
    // The library's default lets a second server share a port that is in use; only allow
    // reusing one that is merely waiting to close.
    server_->set_socket_options([](socket_t handle) {
        int yes = 1;
#ifdef _WIN32
        setsockopt(handle, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char*>(&yes),
                   sizeof yes);
#else
        setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
#endif
    });
    routes_->install(*server_);

    if (options_.port == 0) {
        port_ = server_->bind_to_any_port(options_.bind);
    } else if (options_.port > 0 && options_.port <= 65535 &&
               server_->bind_to_port(options_.bind, options_.port)) {
        port_ = options_.port;
    } else {
        port_ = -1;
    }
    if (port_ <= 0) {
        port_ = 0;
        return fail(error,
                    "cannot listen on " + options_.bind + ":" + std::to_string(options_.port));
    }

    guard_ = std::make_unique<ConnectionGuard>(port_, requestDeadline);
    server_->new_task_queue = [this] { return new WorkerPool(maxWorkers, guard_.get()); };
    server_->set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            guard_->requestRead(request.remote_addr, request.remote_port);
            return routes_->screen(request, response) ? httplib::Server::HandlerResponse::Unhandled
                                                      : httplib::Server::HandlerResponse::Handled;
        });
    server_->set_logger([this](const httplib::Request& request, const httplib::Response&) {
        guard_->answered(request.remote_addr, request.remote_port);
    });

    listenerDone_ = false;
    thread_ = std::thread([this] {
        server_->listen_after_bind();
        listenerDone_ = true;
    });
    // The socket already queues connections; wait until they are also being accepted.
    while (!server_->is_running() && !listenerDone_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (listenerDone_) {
        thread_.join();
        port_ = 0;
        return fail(error, "the server stopped as it started");
    }
    return true;
}

void DemoPortal::stop() {
    if (!thread_.joinable()) {
        return;
    }
    server_->stop();
    thread_.join();
    server_.reset();
    guard_.reset();
    routes_.reset();
    store_.reset();
    port_ = 0;
}

std::string DemoPortal::root() const {
    std::string host = options_.bind;
    if (host.empty() || host == "0.0.0.0") {
        host = "127.0.0.1";
    } else if (host == "::") {
        host = "[::1]";
    } else if (host.find(':') != std::string::npos) {
        host = "[" + host + "]";
    }
    return "http://" + host + ":" + std::to_string(port_);
}

std::string DemoPortal::siteRoot() const {
    return root() + "/site";
}

}  // namespace tivora::demo
