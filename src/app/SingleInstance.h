#pragma once

#include "app/InstanceMessage.h"

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace tivora {

// One running program per user: a later start hands its request to the running program over a
// local socket and ends once the running program answered that it took it; the running program
// listens for such requests.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum class Start {
        HandedOver,  // another program took the request; this start ends
        Running,     // this program is the running one and listens for later starts
        Unguarded,   // neither could be done; this program runs without listening
    };

    // A message not complete after this long is dropped.
    static constexpr int kReadTimeoutMs = 3000;
    // A later start that has no answer after this long runs on its own and plays its file itself.
    static constexpr int kAnswerTimeoutMs = 3000;

    // endpoint: where starts of one user meet (platform::instanceEndpoint()).
    explicit SingleInstance(QString endpoint, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands the request to the running program, or becomes the running program.
    [[nodiscard]] Start start(const InstanceRequest& request);

    [[nodiscard]] const QString& endpoint() const { return endpoint_; }

Q_SIGNALS:
    void requestReceived(const tivora::InstanceRequest& request);

private:
    enum class HandOver { Taken, NobodyListens, NoAnswer };

    [[nodiscard]] HandOver handOver(const InstanceRequest& request) const;
    [[nodiscard]] bool listen();
    void acceptConnections();
    // Decodes a message and, when it is a request, answers answerTo (if any) and passes it on.
    void take(QByteArray message, QLocalSocket* answerTo, QTimer* deadline);
    void drop(QLocalSocket* socket, QTimer* deadline);

    QString endpoint_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace tivora
