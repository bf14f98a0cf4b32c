// The player's own files on a full disk, in the way of a FIFO and behind a dangling link: what was
// saved stays, the failure is told, and nothing blocks.
#include "player/PlayerPreferences.h"
#include "player/RecentFiles.h"
#include "player/ResumeStore.h"
#include "player/SettingsFile.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Saves something new in folder's file; false when the save reported a failure.
using Save = std::function<bool(const QString& folder)>;

// A path long enough that the new content needs more room than the old.
const QString kLongPath = u"/影片/"_s + QString(3000, u'长') + u".rmvb"_s;

bool saveResume(const QString& folder) {
    bool told = false;
    ResumeStore store(folder + u"/resume.json"_s);
    store.setProblemReport([&](const QString&) { told = true; });
    store.remember(kLongPath, 600, 5400);
    return !told;
}

bool saveSettings(const QString& folder) {
    return SettingsFile(folder, folder).write({u"长长"_s, u"/影片/"_s + QString(3000, u'长')});
}

bool savePreferences(const QString& folder) {
    return PlayerPreferences(folder).setContinuousPlay(false);
}

bool saveRecent(const QString& folder) {
    return RecentFiles(folder + u"/recent.json"_s).add(kLongPath);
}

}  // namespace

class TestPlayerFiles final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void fullDiskKeepsWhatWasSaved_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Save>("save");
        QTest::newRow("resume store") << u"resume.json"_s << Save(saveResume);
        QTest::newRow("data.txt") << u"data.txt"_s << Save(saveSettings);
        QTest::newRow("player preferences") << u"player.ini"_s << Save(savePreferences);
        QTest::newRow("recent files") << u"recent.json"_s << Save(saveRecent);
    }

    void fullDiskKeepsWhatWasSaved() {
        QFETCH(QString, file);
        QFETCH(Save, save);
        test::FullDisk disk("128k");
        if (!disk.isValid()) {
            QSKIP(qPrintable(disk.why()));
        }
        const QString folder = disk.filePath({});
        // Something saved while there was room.
        ResumeStore(folder + u"/resume.json"_s).remember(u"/a.rmvb"_s, 100, 5400);
        QVERIFY(SettingsFile(folder, folder).write({u"ab"_s, u"/影片/"_s}));
        QVERIFY(PlayerPreferences(folder).setContinuousPlay(true));
        QVERIFY(RecentFiles(folder + u"/recent.json"_s).add(u"/a.rmvb"_s));
        const QByteArray before = readAll(disk.filePath(file));
        QVERIFY(!before.isEmpty());
        QVERIFY(disk.fill());
        QVERIFY(!save(folder));
        QCOMPARE(readAll(disk.filePath(file)), before);
        QCOMPARE(ResumeStore(folder + u"/resume.json"_s).position(u"/a.rmvb"_s), 100.0);
        QCOMPARE(SettingsFile(folder, folder).read()->folder, u"/影片/"_s);
        QVERIFY(PlayerPreferences(folder).continuousPlay());
        QVERIFY(RecentFiles(folder + u"/recent.json"_s).files().contains(u"/a.rmvb"_s));
    }

    // The store's link points nowhere: told once, in Chinese, and kept beside it.
    void danglingStoreLinkIsToldOnceAndStoreKeptBeside() {
        QTemporaryDir folder;
        const QString link = folder.filePath(u"resume.json"_s);
        QVERIFY(QFile::link(folder.filePath(u"gone/resume.json"_s), link));
        QStringList told;
        ResumeStore store(link);
        store.setProblemReport([&](const QString& text) { told << text; });
        store.remember(u"/a.rmvb"_s, 100, 5400);
        store.remember(u"/b.rmvb"_s, 200, 5400);
        QCOMPARE(told.size(), 1);
        QVERIFY(told.front().contains(u"指向一个不存在的位置"_s));
        QCOMPARE(store.position(u"/a.rmvb"_s), 100.0);
        QCOMPARE(store.position(u"/b.rmvb"_s), 200.0);
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(told.front().contains(QFileInfo(store.storeFile()).fileName()));
        QVERIFY(QFileInfo(store.storeFile()).isFile());
    }

    // A FIFO where a file belongs would hold the window until a writer came.
    void fifoInPlaceOfAFileIsPassedBy_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("resume store") << u"resume.json"_s;
        QTest::newRow("data.txt") << u"data.txt"_s;
        QTest::newRow("player preferences") << u"player.ini"_s;
    }

    void fifoInPlaceOfAFileIsPassedBy() {
        QFETCH(QString, file);
        QTemporaryDir folder;
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath(file)).constData(), 0600), 0);
        QElapsedTimer took;
        took.start();
        QStringList told;
        ResumeStore store(folder.filePath(u"resume.json"_s));
        store.setProblemReport([&](const QString& text) { told << text; });
        QVERIFY(!store.position(u"/a.rmvb"_s));
        store.remember(u"/a.rmvb"_s, 100, 5400);
        const SettingsFile settings(folder.path(), folder.path());
        QVERIFY(!settings.read() || file != u"data.txt"_s);
        QCOMPARE(settings.write({u"ab"_s, u"/影片/"_s}), file != u"data.txt"_s);
        QVERIFY(PlayerPreferences(folder.path()).continuousPlay());
        QCOMPARE(PlayerPreferences(folder.path()).setContinuousPlay(false),
                 file != u"player.ini"_s);
        QVERIFY(took.elapsed() < 2000);
        // The store alone moves aside, and says so.
        QCOMPARE(store.position(u"/a.rmvb"_s), 100.0);
        QCOMPARE(told.size(), file == u"resume.json"_s ? 1 : 0);
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestPlayerFiles)
#include "tst_playerfiles.moc"
