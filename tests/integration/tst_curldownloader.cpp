// The blocking libcurl download against a server on loopback.
#include "desktop/CurlDownloader.h"
#include "forms/QuitRequest.h"
#include "support/FullDisk.h"
#include "support/TestHttpServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;

namespace tivora {

class TestCurlDownloader final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        payload_.resize(3 * 1024 * 1024 + 17);
        QRandomGenerator generator(7);
        for (char& byte : payload_) {
            byte = static_cast<char>(generator.bounded(256));
        }
        server_.file(u"/new.swf"_s, payload_);
        server_.start();
    }

    void download_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("existingTarget");
        QTest::addColumn<bool>("ok");
        const QString refused = u"http://127.0.0.1:%1/new.swf"_s.arg(TestHttpServer::unusedPort());
        QTest::newRow("whole file") << u"/new.swf"_s << false << true;
        QTest::newRow("replaces an older file") << u"/new.swf"_s << true << true;
        QTest::newRow("not found leaves no file") << u"/missing.swf"_s << false << false;
        QTest::newRow("not found keeps the older file") << u"/missing.swf"_s << true << false;
        QTest::newRow("unreachable server") << refused << false << false;
        QTest::newRow("not an address") << u"::nonsense::"_s << false << false;
    }

    void download() {
        QFETCH(QString, source);
        QFETCH(bool, existingTarget);
        QFETCH(bool, ok);
        if (source.startsWith(u'/')) {
            source.prepend(server_.root());
        }
        QTemporaryDir folder;
        const QString target = folder.filePath(u"new.exe"_s);
        if (existingTarget) {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old installer");
        }
        CurlDownloader downloader;
        QCOMPARE(downloader.download(source, target), ok);
        QCOMPARE(downloader.lastError().isEmpty(), ok);
        QFile result(target);
        if (ok) {
            QVERIFY(result.open(QIODevice::ReadOnly));
            QVERIFY(result.readAll() == payload_);
        } else if (existingTarget) {
            QVERIFY(result.open(QIODevice::ReadOnly));
            QCOMPARE(result.readAll(), QByteArray("old installer"));
        } else {
            QVERIFY(!result.exists());
        }
        // No temporary file is left behind.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), ok || existingTarget ? 1 : 0);
    }

    void unwritableTargetFails() {
        CurlDownloader downloader;
        QVERIFY(!downloader.download(server_.root() + u"/new.swf"_s,
                                     u"/nonexistent-folder/for/sure/new.exe"_s));
        QVERIFY(!downloader.lastError().isEmpty());
    }

    // The installer is larger than the room left: the older one stays whole, no piece is left.
    void fullDiskKeepsTheOlderFile() {
        test::FullDisk disk("1m");
        if (!disk.isValid()) {
            QSKIP(qPrintable(disk.why()));
        }
        const QString target = disk.filePath(u"new.exe"_s);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old installer");
        old.close();
        CurlDownloader downloader;
        QVERIFY(!downloader.download(server_.root() + u"/new.swf"_s, target));
        QVERIFY2(downloader.lastError().contains(u"space"_s, Qt::CaseInsensitive),
                 qPrintable(downloader.lastError()));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), "old installer"_ba);
        QCOMPARE(QDir(disk.filePath({})).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"new.exe"_s});
    }

    // A quit asked for mid-transfer (a signal, the main window's exit) ends it at once.
    void quitRequestEndsTheDownload() {
        QTemporaryDir folder;
        const QString target = folder.filePath(u"new.exe"_s);
        QElapsedTimer sinceQuit;
        CurlDownloader downloader;
        const bool ok = downloader.download(server_.root() + u"/new.swf"_s, target,
                                            [&](qint64 received, qint64 /*total*/) {
                                                if (received > 0 && !sinceQuit.isValid()) {
                                                    quit::request();
                                                    sinceQuit.start();
                                                }
                                            });
        const qint64 took = sinceQuit.isValid() ? sinceQuit.elapsed() : -1;
        quit::resetForTesting();
        QVERIFY(!ok);
        QVERIFY(took >= 0 && took < 500);
        QVERIFY(downloader.lastError().contains(u"ending"_s));
        QVERIFY(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

private:
    TestHttpServer server_;
    QByteArray payload_;
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestCurlDownloader)
#include "tst_curldownloader.moc"
