#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
}

namespace tivora::test {

// A small HTTP server on loopback for tests, on an ephemeral port, serving fixed pages.
class TestHttpServer final {
public:
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    // Serves body (UTF-8 HTML unless contentType says otherwise) at path.
    void page(const QString& path, const QString& body,
              const QString& contentType = QStringLiteral("text/html; charset=utf-8"));
    // Serves bytes as they are.
    void file(const QString& path, const QByteArray& bytes);
    // Serves whatever handler returns for the request's path and Cookie header; it may set
    // a Set-Cookie header through setCookie.
    void dynamicPage(const QString& path,
                     std::function<QString(const QString& cookie, QString& setCookie)> handler);
    // Answers at path with an error status and this HTML body.
    void errorPage(const QString& path, int status, const QString& body);
    // How a broken download breaks once its first bytes are sent: the server closes the connection,
    // or sends nothing more while it runs.
    enum class Break { Cut, Stall };
    // Serves bytes (ranges too) with their whole length announced, but never past the first sent.
    void brokenFile(const QString& path, const QByteArray& bytes, qsizetype sent, Break how,
                    const QString& contentType);
    // Asks for HTTP sign-in (Basic, this realm) at path, on every request.
    void signInPage(const QString& path, const QString& realm);
    void start();
    void stop();

    [[nodiscard]] int port() const { return port_; }
    [[nodiscard]] QString root() const;
    // Paths with their query, in the order requested.
    [[nodiscard]] QStringList requests() const;
    // The named header of the last request for path; empty when none came.
    [[nodiscard]] QString header(const QString& path, const QString& name) const;

    // A loopback port nothing listens on.
    [[nodiscard]] static int unusedPort();

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable stopping_;
    bool stopped_ = false;
    QStringList requests_;
    QHash<QString, QHash<QString, QString>> headers_;  // by path, then lower-case name
};

}  // namespace tivora::test
