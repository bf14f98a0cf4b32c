// The message a later start hands to the running program.
#include "app/InstanceMessage.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {

class TestInstanceMessage final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decode_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("openFile");

        const QString film = u"/home/小明/影片/第一集.rmvb"_s;
        QTest::newRow("a file, as encoded")
            << encodeInstanceRequest({.openFile = film}) << true << film;
        QTest::newRow("no file, as encoded") << encodeInstanceRequest({}) << true << QString();
        QTest::newRow("a file with when it was sent")
            << encodeInstanceRequest({.openFile = film, .sentAtMs = 1765300000123}) << true << film;
        QTest::newRow("unknown keys beside")
            << "{\"tivora\":1,\"open\":\"/a.rm\",\"x\":[1]}"_ba << true << u"/a.rm"_s;
        QTest::newRow("empty") << QByteArray() << false << QString();
        QTest::newRow("garbage") << "garbage\n\x01\xff"_ba << false << QString();
        QTest::newRow("cut short") << "{\"tivora\":1,\"open\":\"/a.r"_ba << false << QString();
        QTest::newRow("not an object") << "[{\"tivora\":1}]"_ba << false << QString();
        QTest::newRow("no magic") << "{\"open\":\"/a.rm\"}"_ba << false << QString();
        QTest::newRow("later version")
            << "{\"tivora\":2,\"open\":\"/a.rm\"}"_ba << false << QString();
        QTest::newRow("version as text") << "{\"tivora\":\"1\"}"_ba << false << QString();
        QTest::newRow("relative file")
            << "{\"tivora\":1,\"open\":\"a.rm\"}"_ba << false << QString();
        QTest::newRow("file not text") << "{\"tivora\":1,\"open\":7}"_ba << false << QString();
        const QByteArray padding(kMaxInstanceMessageSize, ' ');
        QTest::newRow("too long") << encodeInstanceRequest({.openFile = film}) + padding << false
                                  << QString();
        QTest::newRow("longest accepted")
            << encodeInstanceRequest({.openFile = film}).leftJustified(kMaxInstanceMessageSize)
            << true << film;
    }

    void decode() {
        QFETCH(QByteArray, message);
        QFETCH(bool, accepted);
        QFETCH(QString, openFile);

        QString error;
        const auto request = decodeInstanceRequest(message, &error);
        QCOMPARE(request.has_value(), accepted);
        QCOMPARE(error.isEmpty(), accepted);
        if (request) {
            QCOMPARE(request->openFile, openFile);
            QCOMPARE(request->sentAtMs, message.contains("\"at\"") ? 1765300000123 : 0);
        }
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestInstanceMessage)
#include "tst_instancemessage.moc"
