#include "app/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
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

// A request ends with a newline; the running program answers it once it has taken it.
constexpr char kEnd = '\n';
constexpr char kTaken[] = "taken\n";
constexpr qsizetype kTakenSize = sizeof(kTaken) - 1;

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
            warn(u"the running Tivora at "_s + endpoint_ + u" did not take the request within "_s +
                 QString::number(kAnswerTimeoutMs / 1000) + u" s; running on its own"_s);
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
    InstanceRequest stamped = request;
    stamped.sentAtMs = QDateTime::currentMSecsSinceEpoch();
    socket.write(encodeInstanceRequest(stamped) + kEnd);
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kWriteTimeoutMs)) {
    }
    // A program that accepts connections but hangs never answers: only its answer counts.
    QElapsedTimer waited;
    waited.start();
    bool taken = false;
    while (!taken && socket.bytesToWrite() == 0 && !waited.hasExpired(kAnswerTimeoutMs) &&
           socket.waitForReadyRead(static_cast<int>(kAnswerTimeoutMs - waited.elapsed()))) {
        taken = socket.peek(kTakenSize) == kTaken;
        if (socket.bytesAvailable() >= kTakenSize && !taken) {
            break;
        }
    }
    socket.abort();
    return taken ? HandOver::Taken : HandOver::NoAnswer;
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
            } else if (socket->canReadLine()) {
                take(socket->readLine(), socket, deadline);
            }
        });
        // Without a newline the message ends with the connection, and goes unanswered.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, deadline] {
            take(socket->readAll(), nullptr, deadline);
            drop(socket, deadline);
        });
        deadline->start(kReadTimeoutMs);
    }
}

void SingleInstance::take(QByteArray message, QLocalSocket* answerTo, QTimer* deadline) {
    if (message.endsWith(kEnd)) {
        message.chop(1);
    }
    QString error;
    const auto request = decodeInstanceRequest(message, &error);
    if (!request) {
        warn(u"ignored a message from another start: "_s + error);
        if (answerTo != nullptr) {
            drop(answerTo, deadline);
        }
        return;
    }
    // Its start gave up waiting and plays the file itself (this program hung for a while).
    if (request->sentAtMs > 0 &&
        QDateTime::currentMSecsSinceEpoch() - request->sentAtMs > kAnswerTimeoutMs) {
        warn(u"ignored a request from another start: it came too late, the start ran on its own"_s);
        if (answerTo != nullptr) {
            drop(answerTo, deadline);
        }
        return;
    }
    if (answerTo != nullptr) {
        answerTo->disconnect(this);
        deadline->disconnect(this);
        connect(answerTo, &QLocalSocket::disconnected, answerTo, &QObject::deleteLater);
        answerTo->write(kTaken, kTakenSize);
        answerTo->disconnectFromServer();
    }
    // Answered first: what the request starts (a box, say) may hold the event loop for long.
    QTimer::singleShot(0, this, [this, request = *request] { Q_EMIT requestReceived(request); });
}

void SingleInstance::drop(QLocalSocket* socket, QTimer* deadline) {
    socket->disconnect(this);
    deadline->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

}  // namespace tivora
