#include "support/TestHttpServer.h"

#include <QTcpServer>

#include <httplib.h>

#include <algorithm>
#include <chrono>

using namespace Qt::StringLiterals;

namespace tivora::test {

TestHttpServer::TestHttpServer() : server_(std::make_unique<httplib::Server>()) {
    // Idle keep-alive connections would otherwise hold stop() for seconds.
    server_->set_keep_alive_timeout(1);
    server_->set_logger([this](const httplib::Request& request, const httplib::Response&) {
        const std::lock_guard lock(mutex_);
        QString target = QString::fromStdString(request.path);
        if (!request.params.empty()) {
            const auto question = request.target.find('?');
            if (question != std::string::npos) {
                target += QString::fromStdString(request.target.substr(question));
            }
        }
        requests_ << target;
        QHash<QString, QString>& headers = headers_[QString::fromStdString(request.path)];
        headers.clear();
        for (const auto& [name, value] : request.headers) {
            headers.insert(QString::fromStdString(name).toLower(), QString::fromStdString(value));
        }
    });
}

TestHttpServer::~TestHttpServer() {
    stop();
}

void TestHttpServer::page(const QString& path, const QString& body, const QString& contentType) {
    const std::string content = body.toStdString();
    const std::string type = contentType.toStdString();
    server_->Get(path.toStdString(),
                 [content, type](const httplib::Request&, httplib::Response& response) {
                     response.set_content(content, type);
                 });
}

void TestHttpServer::file(const QString& path, const QByteArray& bytes) {
    const std::string content = bytes.toStdString();
    server_->Get(path.toStdString(),
                 [content](const httplib::Request&, httplib::Response& response) {
                     response.set_content(content, "application/octet-stream");
                 });
}

void TestHttpServer::dynamicPage(
    const QString& path,
    std::function<QString(const QString& cookie, QString& setCookie)> handler) {
    server_->Get(path.toStdString(), [handler = std::move(handler)](const httplib::Request& request,
                                                                    httplib::Response& response) {
        QString setCookie;
        const QString body =
            handler(QString::fromStdString(request.get_header_value("Cookie")), setCookie);
        if (!setCookie.isEmpty()) {
            response.set_header("Set-Cookie", setCookie.toStdString());
        }
        response.set_content(body.toStdString(), "text/html; charset=utf-8");
    });
}

void TestHttpServer::errorPage(const QString& path, int status, const QString& body) {
    const std::string content = body.toStdString();
    server_->Get(path.toStdString(),
                 [status, content](const httplib::Request&, httplib::Response& response) {
                     response.status = status;
                     response.set_content(content, "text/html; charset=utf-8");
                 });
}

void TestHttpServer::brokenFile(const QString& path, const QByteArray& bytes, qsizetype sent,
                                Break how, const QString& contentType) {
    auto content = std::make_shared<const std::string>(bytes.toStdString());
    const auto upTo = static_cast<std::size_t>(sent);
    const std::string type = contentType.toStdString();
    server_->Get(path.toStdString(), [this, content, upTo, how, type](const httplib::Request&,
                                                                      httplib::Response& response) {
        response.set_content_provider(
            content->size(), type,
            [this, content, upTo, how](std::size_t offset, std::size_t length,
                                       httplib::DataSink& sink) {
                if (offset < upTo) {
                    return sink.write(content->data() + offset, std::min(length, upTo - offset));
                }
                if (how == Break::Stall) {
                    std::unique_lock lock(mutex_);
                    stopping_.wait_for(lock, std::chrono::minutes(1), [this] { return stopped_; });
                }
                return false;
            });
    });
}

void TestHttpServer::signInPage(const QString& path, const QString& realm) {
    const std::string challenge = "Basic realm=\"" + realm.toStdString() + '"';
    server_->Get(path.toStdString(),
                 [challenge](const httplib::Request&, httplib::Response& response) {
                     response.status = 401;
                     response.set_header("WWW-Authenticate", challenge);
                     response.set_content("<html><body>qor</body></html>", "text/html");
                 });
}

void TestHttpServer::start() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = false;
    }
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) {
        std::this_thread::yield();
    }
}

void TestHttpServer::stop() {
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        stopping_.notify_all();
        server_->stop();
        thread_.join();
    }
}

QString TestHttpServer::root() const {
    return u"http://127.0.0.1:%1"_s.arg(port_);
}

QStringList TestHttpServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

QString TestHttpServer::header(const QString& path, const QString& name) const {
    const std::lock_guard lock(mutex_);
    return headers_.value(path).value(name.toLower());
}

int TestHttpServer::unusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

}  // namespace tivora::test
