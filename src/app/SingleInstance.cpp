#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include "forms/Logging.h"

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr int kConnectTimeoutMs = 2000;
constexpr int kWriteTimeoutMs = 2000;
constexpr int kLockTimeoutMs = 5000;

void warn(const QString& text) {
    qCWarning(lcApp).noquote() << text;
}

// Held while a start looks for the running program and, finding none, takes its place, so that
// two starts at once cannot both take it.
QString lockPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(u"tivora.lock"_s);
}

}  // namespace

SingleInstance::SingleInstance(QString endpoint, QObject* parent)
    : QObject(parent), endpoint_(std::move(endpoint)) {}

SingleInstance::~SingleInstance() {
    // Sockets closed with the server would otherwise still report to this object.
    if (server_) {
        for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>()) {
            socket->disconnect(this);
        }
    }
}

SingleInstance::Start SingleInstance::start(const InstanceRequest& request) {
    QLockFile lock(lockPath());
    if (!lock.tryLock(kLockTimeoutMs)) {
        warn(u"another start holds "_s + lock.fileName() + u"; running on its own"_s);
        return Start::Unguarded;
    }
    switch (handOver(request)) {
        case HandOver::Taken:
            return Start::HandedOver;
        case HandOver::NoAnswer:
            warn(u"the running Tivora at "_s + endpoint_ +
                 u" does not answer; running on its own"_s);
            return Start::Unguarded;
        case HandOver::NobodyListens:
            break;
    }
    return listen() ? Start::Running : Start::Unguarded;
}

SingleInstance::HandOver SingleInstance::handOver(const InstanceRequest& request) const {
    QLocalSocket socket;
    socket.connectToServer(endpoint_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        const auto error = socket.error();
        return error == QLocalSocket::ServerNotFoundError ||
                       error == QLocalSocket::ConnectionRefusedError
                   ? HandOver::NobodyListens
                   : HandOver::NoAnswer;
    }
    socket.write(encodeInstanceRequest(request));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kWriteTimeoutMs)) {
    }
    const bool written = socket.bytesToWrite() == 0;
    // The running program reads up to the end of the connection.
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(kWriteTimeoutMs);
    }
    return written ? HandOver::Taken : HandOver::NoAnswer;
}

bool SingleInstance::listen() {
    // What a crashed run left: the socket file remains but nobody listens on it.
    QLocalServer::removeServer(endpoint_);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(endpoint_)) {
        warn(u"cannot listen at "_s + endpoint_ + u": "_s + server->errorString() +
             u"; running on its own"_s);
        return false;
    }
    server_ = std::move(server);
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // A longer message is refused once this much has arrived.
        socket->setReadBufferSize(kMaxInstanceMessageSize + 1);
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, socket, deadline] {
            warn(u"ignored a message from another start: timed out"_s);
            drop(socket, deadline);
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, deadline] {
            if (socket->bytesAvailable() > kMaxInstanceMessageSize) {
                warn(u"ignored a message from another start: message too long"_s);
                drop(socket, deadline);
            }
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, deadline] {
            const QByteArray message = socket->readAll();
            drop(socket, deadline);
            QString error;
            if (const auto request = decodeInstanceRequest(message, &error)) {
                Q_EMIT requestReceived(*request);
            } else {
                warn(u"ignored a message from another start: "_s + error);
            }
        });
        deadline->start(kReadTimeoutMs);
    }
}

void SingleInstance::drop(QLocalSocket* socket, QTimer* deadline) {
    socket->disconnect(this);
    deadline->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

}  // namespace tivora
