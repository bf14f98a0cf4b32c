#include "demo-portal/DemoPortal.h"

#include "demo-portal/Assets.h"
#include "demo-portal/Catalogue.h"
#include "demo-portal/InfoPages.h"
#include "demo-portal/PortalRoutes.h"
#include "demo-portal/PortalServer.h"
#include "demo-portal/PortalStore.h"

#include <QDir>
#include <QStandardPaths>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tivora::demo {

namespace {

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

    auto server = std::make_unique<PortalServer>(
        [this](HttpRequest& request, HttpResponse& response) {
            routes_->answer(request, response);
        },
        &InfoPages::errorPage, PortalServer::Limits{});
    std::string listenError;
    port_ = server->listen(options_.bind, options_.port, &listenError);
    if (port_ <= 0) {
        port_ = 0;
        return fail(error, "cannot listen on " + options_.bind + ":" +
                               std::to_string(options_.port) + ": " + listenError);
    }
    server_ = std::move(server);
    server_->start();
    return true;
}

void DemoPortal::stop() {
    if (!server_) {
        return;
    }
    server_->stop();
    server_.reset();
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
