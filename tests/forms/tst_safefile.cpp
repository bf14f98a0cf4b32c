// Files written whole or not at all: failed writes of every kind leave the old file as it was.
#include "forms/SafeFile.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QByteArray kOld = "the old content\n";

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestSafeFile final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { safefile::setWriteCallForTesting({}); }

    void replacesTheFileWhole() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"data.txt"_s);
        QVERIFY(writeFile(path, kOld));
        const QByteArray fresh(3 * 1024 * 1024 + 5, 'n');
        QString error;
        QVERIFY(safefile::writeFileSafely(path, fresh, &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(readAll(path), fresh);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"data.txt"_s});
    }

    // The platform write fails as a full disk, an I/O error or a quota would.
    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<int>("failingCall");  // 1: the first write, 2: the second
        QTest::addColumn<int>("error");
        QTest::newRow("no space at once") << 1 << ENOSPC;
        QTest::newRow("i/o error midway") << 2 << EIO;
        QTest::newRow("quota midway") << 2 << EDQUOT;
        QTest::newRow("read-only file system") << 1 << EROFS;
    }

    void failedWriteKeepsTheOldFile() {
        QFETCH(int, failingCall);
        QFETCH(int, error);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"resume.json"_s);
        QVERIFY(writeFile(path, kOld));
        int calls = 0;
        safefile::setWriteCallForTesting([&](const char* /*data*/, qint64 size) -> qint64 {
            if (++calls < failingCall) {
                return size;
            }
            errno = error;
            return -1;
        });
        QString why;
        QVERIFY(!safefile::writeFileSafely(path, QByteArray(2 * 1024 * 1024, 'x'), &why));
        QCOMPARE(calls, failingCall);
        QVERIFY(!why.isEmpty());
        QCOMPARE(readAll(path), kOld);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"resume.json"_s});
    }

    // The real thing: a file system with no block left.
    void fullFileSystemKeepsTheOldFile() {
        test::FullDisk disk;
        if (!disk.isValid()) {
            QSKIP(qPrintable(disk.why()));
        }
        const QString path = disk.filePath(u"data.txt"_s);
        QVERIFY(writeFile(path, kOld));
        QVERIFY(disk.fill());
        QString why;
        QVERIFY(!safefile::writeFileSafely(path, QByteArray(20 * 1024, 'x'), &why));
        QVERIFY2(why.contains(u"space"_s, Qt::CaseInsensitive), qPrintable(why));
        QCOMPARE(readAll(path), kOld);
        // Nothing was left behind: with room again, the write goes through.
        QVERIFY(QFile::remove(disk.filePath(u".filler"_s)));
        QVERIFY(safefile::writeFileSafely(path, "new", &why));
        QCOMPARE(readAll(path), "new"_ba);
        QCOMPARE(QDir(disk.filePath({})).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"data.txt"_s});
    }

    void nonRegularFilesAreRefusedWithoutBlocking_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << u"fifo"_s;
        QTest::newRow("folder") << u"folder"_s;
        QTest::newRow("device") << u"device"_s;
    }

    void nonRegularFilesAreRefusedWithoutBlocking() {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        QString path = folder.filePath(u"store"_s);
        if (kind == u"fifo"_s) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == u"folder"_s) {
            QVERIFY(QDir(folder.path()).mkdir(u"store"_s));
        } else {
            path = u"/dev/zero"_s;
        }
        QElapsedTimer took;
        took.start();
        QString why;
        QVERIFY(!safefile::isRegularOrMissing(path));
        QVERIFY(!safefile::readFileSafely(path, 1024, &why));
        QVERIFY(why.contains(u"not a regular file"_s));
        QVERIFY(!safefile::writeFileSafely(path, "x", &why));
        QVERIFY(why.contains(u"not a regular file"_s));
        QVERIFY(took.elapsed() < 1000);
    }

    void missingFileReadsAsNothingWithoutComplaint() {
        QTemporaryDir folder;
        QString why;
        QVERIFY(!safefile::readFileSafely(folder.filePath(u"none"_s), 10, &why));
        QVERIFY(why.isEmpty());
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestSafeFile)
#include "tst_safefile.moc"
