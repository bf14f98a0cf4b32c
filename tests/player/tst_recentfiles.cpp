// The recent files and the remembered volume outlive the process that wrote them; a damaged or
// unwritable store loses nothing.
#include "player/PlayerPreferences.h"
#include "player/RecentFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const char* const kChildFolder = "TIVORA_TEST_CHILD_FOLDER";

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

}  // namespace

class TestRecentFiles final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Run by the test below in a process of its own.
    void childWrites() {
        const QString folder = qEnvironmentVariable(kChildFolder);
        if (folder.isEmpty()) {
            QSKIP("only run as the writing process");
        }
        RecentFiles recent(folder + u"/recent.json"_s);
        for (int i = 1; i <= 12; ++i) {
            QVERIFY(recent.add(u"/films/%1.mp4"_s.arg(i)));
        }
        QVERIFY(recent.add(u"/films/5.mp4"_s));
        const PlayerPreferences preferences(folder);
        QVERIFY(preferences.setVolume(37));
        QVERIFY(preferences.setMuted(true));
        QVERIFY(preferences.setHardwareDecoding(false));
    }

    void survivesANewProcess() {
        QTemporaryDir folder;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kChildFolder), folder.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {u"childWrites"_s});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const RecentFiles recent(folder.filePath(u"recent.json"_s));
        QCOMPARE(recent.files().size(), RecentFiles::kMaxFiles);
        QCOMPARE(recent.files().first(), u"/films/5.mp4"_s);
        QCOMPARE(recent.files().at(1), u"/films/12.mp4"_s);
        QCOMPARE(recent.files().last(), u"/films/3.mp4"_s);
        QCOMPARE(recent.files().count(u"/films/5.mp4"_s), 1);
        const PlayerPreferences preferences(folder.path());
        QCOMPARE(preferences.volume(), 37);
        QVERIFY(preferences.muted());
        QVERIFY(!preferences.hardwareDecoding());
    }

    void damagedStoresAreSetAside_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not json") << QByteArray("{\"files\": [\"/a.mp4\"");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe junk", 9);
        QTest::newRow("an array") << QByteArray("[1, 2, 3]");
        QTest::newRow("far too large") << QByteArray(512 * 1024, ' ');
    }

    void damagedStoresAreSetAside() {
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QString file = folder.filePath(u"recent.json"_s);
        QVERIFY(writeFile(file, content));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"could not be read; kept as"_s));
        RecentFiles recent(file);
        QVERIFY(recent.files().isEmpty());
        QFile aside(file + u".bad"_s);
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), content);
        QVERIFY(recent.add(u"/films/a.mp4"_s));
        QCOMPARE(RecentFiles(file).files(), QStringList{u"/films/a.mp4"_s});
    }

    void unwritableStoreKeepsTheListForTheRun() {
        QTemporaryDir folder;
        const QString file = folder.filePath(u"recent.json"_s);
        {
            RecentFiles recent(file);
            QVERIFY(recent.add(u"/films/kept.mp4"_s));
        }
        // A folder where the store's temporary file would go cannot be written.
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(folder.path()).isWritable()) {
            QFile::setPermissions(folder.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("running with rights that ignore file permissions");
        }
        RecentFiles recent(file);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"could not be saved"_s));
        QVERIFY(!recent.add(u"/films/new.mp4"_s));
        QCOMPARE(recent.files(), (QStringList{u"/films/new.mp4"_s, u"/films/kept.mp4"_s}));
        QVERIFY(QFile::setPermissions(folder.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(RecentFiles(file).files(), QStringList{u"/films/kept.mp4"_s});
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestRecentFiles)
#include "tst_recentfiles.moc"
