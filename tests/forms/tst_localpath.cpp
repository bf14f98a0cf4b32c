// File names by their bytes: GBK names from Chinese Windows show readably and open again.
#include "forms/LocalPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// QTemporaryDir cannot remove what Qt cannot name.
struct RemovedByBytes {
    explicit RemovedByBytes(const QTemporaryDir& folder) : path(folder.path().toStdString()) {}
    ~RemovedByBytes() { std::filesystem::remove_all(path); }
    RemovedByBytes(const RemovedByBytes&) = delete;
    RemovedByBytes& operator=(const RemovedByBytes&) = delete;
    std::string path;
};

bool create(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    return fd >= 0 && ::close(fd) == 0;
}

}  // namespace

class TestLocalPath final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesOpenByTheirBytes_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ascii") << "film.rmvb"_ba << u"film.rmvb"_s;
        QTest::newRow("utf-8") << "第一集.rmvb"_ba << u"第一集.rmvb"_s;
        // 第一集 in GBK, as a disc made on Chinese Windows names it.
        QTest::newRow("gbk") << "\xb5\xda\xd2\xbb\xbc\xaf.rmvb"_ba << u"第一集.rmvb"_s;
        QTest::newRow("gbk, two characters") << "\xc4\xe3\xba\xc3.mp4"_ba << u"你好.mp4"_s;
        // GBK maps the rest of its range to private-use characters; a cut-short pair is invalid.
        QTest::newRow("neither") << "ab\x81.mp4"_ba << u"ab\uf781.mp4"_s;
    }

    void namesOpenByTheirBytes() {
        QFETCH(QByteArray, name);
        QFETCH(QString, shown);
        QTemporaryDir folder;
        const RemovedByBytes cleanup(folder);
        const QByteArray bytes = QFile::encodeName(folder.path()) + '/' + name;
        QVERIFY(create(bytes));
        QCOMPARE(localpath::fromBytes(name), shown);
        const QString path = folder.path() + u'/' + shown;
        QCOMPARE(localpath::toBytes(path), bytes);
        QCOMPARE(localpath::kindOf(path), localpath::Kind::File);
        QCOMPARE(localpath::fileNames(folder.path()), QStringList{shown});
        // As Qt's own listing and file dialog show it: U+FFFD where the bytes are not UTF-8.
        const QString asQtShowsIt = QFile::decodeName(bytes);
        QCOMPARE(localpath::toBytes(asQtShowsIt), bytes);
        QCOMPARE(localpath::readable(asQtShowsIt), path);
    }

    // Each component is found on its own: a GBK name in a UTF-8 folder in a GBK folder.
    void mixedComponentsResolve() {
        QTemporaryDir root;
        const RemovedByBytes cleanup(root);
        const QByteArray gbkFolder = QFile::encodeName(root.path()) + "/\xd3\xb0\xc6\xac";  // 影片
        const QByteArray utf8Folder = gbkFolder + "/电视剧";
        QCOMPARE(::mkdir(gbkFolder.constData(), 0700), 0);
        QCOMPARE(::mkdir(utf8Folder.constData(), 0700), 0);
        QVERIFY(create(utf8Folder + "/\xb5\xda\xd2\xbb\xbc\xaf.mp4"));
        const QString path = root.path() + u"/影片/电视剧/第一集.mp4"_s;
        QCOMPARE(localpath::toBytes(path), utf8Folder + "/\xb5\xda\xd2\xbb\xbc\xaf.mp4");
        QCOMPARE(localpath::kindOf(root.path() + u"/影片"_s), localpath::Kind::Folder);
    }

    void kindsAreToldWithoutOpening_data() {
        QTest::addColumn<QString>("make");
        QTest::addColumn<int>("kind");
        QTest::newRow("missing") << QString() << int(localpath::Kind::Missing);
        QTest::newRow("fifo") << u"fifo"_s << int(localpath::Kind::Other);
        QTest::newRow("folder") << u"folder"_s << int(localpath::Kind::Folder);
        QTest::newRow("link to a file") << u"link"_s << int(localpath::Kind::File);
        QTest::newRow("dangling link") << u"dangling"_s << int(localpath::Kind::Missing);
    }

    void kindsAreToldWithoutOpening() {
        QFETCH(QString, make);
        QFETCH(int, kind);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"x"_s);
        const QByteArray bytes = QFile::encodeName(path);
        if (make == u"fifo"_s) {
            QCOMPARE(::mkfifo(bytes.constData(), 0600), 0);
        } else if (make == u"folder"_s) {
            QCOMPARE(::mkdir(bytes.constData(), 0700), 0);
        } else if (make == u"link"_s) {
            QVERIFY(create(bytes + ".target"));
            QCOMPARE(::symlink("x.target", bytes.constData()), 0);
        } else if (make == u"dangling"_s) {
            QCOMPARE(::symlink("nowhere", bytes.constData()), 0);
        }
        QCOMPARE(int(localpath::kindOf(path)), kind);
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestLocalPath)
#include "tst_localpath.moc"
