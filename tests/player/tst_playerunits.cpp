// The local player's pure pieces: name prefix, list pattern, folder of a file, wildcard matching,
// the data.txt line and where that file lives.
#include "forms/Folders.h"
#include "player/LocalFiles.h"
#include "player/ResumeStore.h"
#include "player/SettingsFile.h"
#include "player/SettingsLine.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// data.txt where the services' writable-folder probe puts it.
SettingsFile settingsIn(const QString& program, const QString& fallback) {
    return {program, chooseWritableFolder(program, fallback, SettingsFile::kFileName)};
}

using settings::SettingsLine;

QByteArray gbk(std::initializer_list<const char*> parts) {
    QByteArray bytes;
    for (const char* part : parts) {
        bytes += part;
    }
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestPlayerUnits final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void namePrefix_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("ordinary") << u"ab01.rmvb"_s << u"ab"_s;
        QTest::newRow("one character") << u"a"_s << u"a"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("chinese") << u"电影01.rm"_s << u"电影"_s;
        QTest::newRow("outside the basic plane") << u"😀x.rm"_s << u"😀x"_s;
        QTest::newRow("two outside the basic plane") << u"𠀀𠀁.rm"_s << u"𠀀𠀁"_s;
        QTest::newRow("dot second") << u"é.rm"_s << u"é."_s;
    }

    void namePrefix() {
        QFETCH(QString, title);
        QFETCH(QString, prefix);
        QCOMPARE(localfiles::namePrefix(title), prefix);
    }

    void listPattern_data() {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("two characters") << u"ab"_s << u"*ab*rm*"_s;
        QTest::newRow("one character") << u"a"_s << u"*a*rm*"_s;
        QTest::newRow("none") << QString() << u"**rm*"_s;
    }

    void listPattern() {
        QFETCH(QString, prefix);
        QFETCH(QString, pattern);
        QCOMPARE(localfiles::listPattern(prefix), pattern);
    }

    void folderOfFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("ordinary") << u"/media/ab01.rmvb"_s << u"/media/"_s;
        QTest::newRow("folder named like the file") << u"/tmp/ab.rm/ab.rm"_s << u"/tmp/ab.rm/"_s;
        QTest::newRow("name also earlier in the path") << u"/ab/x/ab"_s << u"/ab/x/"_s;
        QTest::newRow("root") << u"/ab.rm"_s << u"/"_s;
        QTest::newRow("bare name") << u"ab.rm"_s << QString();
        QTest::newRow("chinese") << u"/视频/电影.rmvb"_s << u"/视频/"_s;
#ifdef Q_OS_WIN
        QTest::newRow("backslashes") << u"D:\\Media\\ab01.rmvb"_s << u"D:\\Media\\"_s;
        QTest::newRow("mixed") << u"D:/Media\\x/ab.rm"_s << u"D:/Media\\x/"_s;
#else
        QTest::newRow("backslash is a name character") << u"/m/a\\b.rm"_s << u"/m/"_s;
#endif
    }

    void folderOfFile() {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(localfiles::folderOfFile(path), folder);
    }

    void matchesPattern_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("prefix then rm") << u"*ab*rm*"_s << u"xab01.rmvb"_s << true;
        QTest::newRow("without regard to case") << u"*ab*rm*"_s << u"AB01.RMVB"_s << true;
        QTest::newRow("rm before the prefix") << u"*ab*rm*"_s << u"rm_ab.avi"_s << false;
        QTest::newRow("no rm") << u"*ab*rm*"_s << u"ab01.mp4"_s << false;
        QTest::newRow("rm must follow, not overlap") << u"*ab*rm*"_s << u"abrm"_s << true;
        QTest::newRow("too short") << u"*ab*rm*"_s << u"ab"_s << false;
        QTest::newRow("brackets are literal") << u"*[字*rm*"_s << u"[字幕]01.rmvb"_s << true;
        QTest::newRow("brackets are no class") << u"*[字*rm*"_s << u"字.rm"_s << false;
        QTest::newRow("question mark is one character") << u"a?c"_s << u"abc"_s << true;
        QTest::newRow("question mark takes a pair") << u"a?c"_s << u"a😀c"_s << true;
        QTest::newRow("question mark needs one") << u"a?c"_s << u"ac"_s << false;
        QTest::newRow("several patterns") << u"*.rm;*.rmvb"_s << u"X.RMVB"_s << true;
        QTest::newRow("several patterns, none") << u"*.rm;*.rmvb"_s << u"x.mp4"_s << false;
        QTest::newRow("empty pattern lists all") << QString() << u"any"_s << true;
        QTest::newRow("chinese") << u"*电影*rm*"_s << u"好电影.RM"_s << true;
        QTest::newRow("accented capitals") << u"*É*rm*"_s << u"éa.rm"_s << true;
        QTest::newRow("greek capitals") << u"*ΣΑ*rm*"_s << u"σα.rm"_s << true;
        QTest::newRow("star matches nothing") << u"**rm*"_s << u"rm"_s << true;
        QTest::newRow("backtracking") << u"*a*b*c"_s << u"aaabbbxc"_s << true;
        QTest::newRow("backtracking, no end") << u"*a*b*c"_s << u"aaabbbx"_s << false;
    }

    void matchesPattern() {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(localfiles::matchesPattern(pattern, name), matches);
    }

    void matchingStaysLinearOnLongNames() {
        const QString name = QString(20000, u'a') + u'b';
        QVERIFY(!localfiles::matchesPattern(u"*a*a*a*a*c"_s, name));
    }

    void encode_data() {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("old format, ascii")
            << u"ab"_s << u"D:\\Media\\"_s << QByteArray("ab?D:\\Media\\\r\n");
        QTest::newRow("old format, chinese")
            << u"电影"_s << u"D:\\视频\\"_s
            << gbk({"\xB5\xE7\xD3\xB0", "?D:\\", "\xCA\xD3\xC6\xB5", "\\\r\n"});
        QTest::newRow("empty prefix") << QString() << u"/m/"_s << QByteArray("?/m/\r\n");
        QTest::newRow("arabic folder")
            << u"ab"_s << u"/ملف/"_s
            << QByteArray("\xEF\xBB\xBF") + u"ab?/ملف/"_s.toUtf8() + "\r\n";
        QTest::newRow("code-page bytes that start like the UTF-8 mark")
            << u"锘緻"_s << u"/m/"_s
            << QByteArray("\xEF\xBB\xBF") + u"锘緻?/m/"_s.toUtf8() + "\r\n";
        QTest::newRow("prefix outside the basic plane")
            << u"😀x"_s << u"/m/"_s << QByteArray("\xEF\xBB\xBF") + u"😀x?/m/"_s.toUtf8() + "\r\n";
    }

    void encode() {
        QFETCH(QString, prefix);
        QFETCH(QString, folder);
        QFETCH(QByteArray, bytes);
        QCOMPARE(settings::encode({prefix, folder}), bytes);
    }

    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("folder");
        QTest::newRow("old format")
            << QByteArray("ab?D:\\Media\\\r\n") << true << u"ab"_s << u"D:\\Media\\"_s;
        QTest::newRow("gbk") << gbk({"\xB5\xE7\xD3\xB0?/", "\xCA\xD3\xC6\xB5", "/\r\n"}) << true
                             << u"电影"_s << u"/视频/"_s;
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF") + u"ab?/ملف/\r\n"_s.toUtf8()
                                         << true << u"ab"_s << u"/ملف/"_s;
        QTest::newRow("utf-16 with mark")
            << QByteArray("\xFF\xFE", 2) +
                   QByteArray(reinterpret_cast<const char*>(u"ab?/m/\r\n"), 16)
            << true << u"ab"_s << u"/m/"_s;
        QTest::newRow("several ? split at the first")
            << QByteArray("ab?/x?y/?\r\n") << true << u"ab"_s << u"/x?y/?"_s;
        QTest::newRow("several ? in a windows folder")
            << QByteArray("ab?D:\\a?b\\\r\n") << true << u"ab"_s << u"D:\\a?b\\"_s;
        QTest::newRow("prefix holding ?") << QByteArray(
                                                 "a?"
                                                 "?/x/\r\n")
                                          << true << u"a?"_s << u"/x/"_s;
        QTest::newRow("lossy old prefix")
            << QByteArray("?a?/x/\r\n") << true << u"?a"_s << u"/x/"_s;
        QTest::newRow("only the first line")
            << QByteArray("ab?/x/\r\ncd?/y/\r\n") << true << u"ab"_s << u"/x/"_s;
        QTest::newRow("line feed only") << QByteArray("ab?/x/\n") << true << u"ab"_s << u"/x/"_s;
        QTest::newRow("no line end") << QByteArray("ab?/x/") << true << u"ab"_s << u"/x/"_s;
        QTest::newRow("empty prefix") << QByteArray("?/x/\r\n") << true << QString() << u"/x/"_s;
        QTest::newRow("missing separator")
            << QByteArray("ab/x/\r\n") << false << QString() << QString();
        QTest::newRow("no folder") << QByteArray("ab?\r\n") << false << QString() << QString();
        QTest::newRow("empty") << QByteArray() << false << QString() << QString();
        QTest::newRow("blank first line")
            << QByteArray("\r\nab?/x/\r\n") << false << QString() << QString();
        QTest::newRow("binary junk")
            << QByteArray("\x00\xFF\x81\x7F", 4) << false << QString() << QString();
    }

    void decode() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QFETCH(QString, prefix);
        QFETCH(QString, folder);
        const auto line = settings::decode(bytes);
        QCOMPARE(line.has_value(), valid);
        if (valid) {
            QCOMPARE(line->prefix, prefix);
            QCOMPARE(line->folder, folder);
        }
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("folder");
        QTest::newRow("ascii") << u"ab"_s << u"/home/user/Videos/"_s;
        QTest::newRow("chinese") << u"电影"_s << u"/home/用户/视频/"_s;
        QTest::newRow("japanese and korean") << u"映画"_s << u"/미디어/ビデオ/"_s;
        QTest::newRow("arabic and hebrew") << u"في"_s << u"/ملف/תיקייה/"_s;
        QTest::newRow("emoji") << u"🎬x"_s << u"/🎬/"_s;
        QTest::newRow("? in the folder") << u"ab"_s << u"/a?b/"_s;
        QTest::newRow("? in the prefix") << u"a?"_s << u"/x/"_s;
        QTest::newRow("GBK starting like a UTF-8 mark") << u"锘緻"_s << u"/x/"_s;
        QTest::newRow("prefix ?:") << u"?:"_s << u"/x/"_s;
        QTest::newRow("prefix :?") << u":?"_s << u"/x/"_s;
    }

    void roundTrip() {
        QFETCH(QString, prefix);
        QFETCH(QString, folder);
        const auto line = settings::decode(settings::encode({prefix, folder}));
        QVERIFY(line);
        QCOMPARE(*line, (SettingsLine{prefix, folder}));
    }

    void settingsFileKeepsItsLineOverOneThatCannotReadBack_data() {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("folder");
        QTest::newRow("line feed in the folder") << u"ab"_s << u"/a\nb/"_s;
        QTest::newRow("carriage return in the folder") << u"ab"_s << u"/a\rb/"_s;
        QTest::newRow("line feed in the prefix") << u"a\n"_s << u"/x/"_s;
        QTest::newRow("no folder") << u"ab"_s << QString();
    }

    void settingsFileKeepsItsLineOverOneThatCannotReadBack() {
        QFETCH(QString, prefix);
        QFETCH(QString, folder);
        QTemporaryDir program;
        const SettingsFile file(program.path(), program.path());
        QVERIFY(file.write({u"cd"_s, u"/kept/"_s}));
        QVERIFY(!file.write({prefix, folder}));
        QCOMPARE(file.read(), (SettingsLine{u"cd"_s, u"/kept/"_s}));
    }

    void settingsFileBesideTheProgram() {
        QTemporaryDir program;
        QTemporaryDir fallback;
        const SettingsFile file = settingsIn(program.path(), fallback.path());
        QCOMPARE(file.path(), program.path() + u"/data.txt"_s);
        QVERIFY(!file.read());
        QVERIFY(file.write({u"ab"_s, u"/x/"_s}));
        QCOMPARE(readAll(program.path() + u"/data.txt"_s), QByteArray("ab?/x/\r\n"));
        QCOMPARE(*file.read(), (SettingsLine{u"ab"_s, u"/x/"_s}));
        // Replaced whole: a shorter line leaves nothing of the longer one.
        QVERIFY(file.write({u"c"_s, u"/y/"_s}));
        QCOMPARE(readAll(program.path() + u"/data.txt"_s), QByteArray("c?/y/\r\n"));
        QVERIFY(QDir(fallback.path()).isEmpty());
    }

    void settingsFileFallsBackWhenTheProgramFolderIsReadOnly() {
        QTemporaryDir fallback;
        const QString inFallback = fallback.path() + u"/sub/data.txt"_s;
        // Not even root writes there.
        const SettingsFile file = settingsIn(u"/proc"_s, fallback.path() + u"/sub"_s);
        QCOMPARE(file.path(), inFallback);
        QVERIFY(file.write({u"电影"_s, u"/视频/"_s}));
        QCOMPARE(readAll(inFallback), gbk({"\xB5\xE7\xD3\xB0?/", "\xCA\xD3\xC6\xB5", "/\r\n"}));
        QCOMPARE(*file.read(), (SettingsLine{u"电影"_s, u"/视频/"_s}));
    }

    void settingsFileReadsOnlyTheStartOfAHugeFile() {
        QTemporaryDir program;
        QVERIFY(writeAll(program.path() + u"/data.txt"_s,
                         QByteArray("ab?/x/\r\n") + QByteArray(8 * 1024 * 1024, 'z')));
        QCOMPARE(*SettingsFile(program.path(), program.path()).read(),
                 (SettingsLine{u"ab"_s, u"/x/"_s}));
    }

    void resumeStoreKeepsWhereFilesWereLeft_data() {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("duration");
        QTest::addColumn<bool>("kept");
        QTest::newRow("midway") << 600.0 << 5400.0 << true;
        QTest::newRow("length unknown") << 600.0 << 0.0 << true;
        QTest::newRow("just begun") << 1.0 << 5400.0 << false;
        QTest::newRow("at the end") << 5397.0 << 5400.0 << false;
        QTest::newRow("not a number") << qQNaN() << 5400.0 << false;
    }

    void resumeStoreKeepsWhereFilesWereLeft() {
        QFETCH(double, position);
        QFETCH(double, duration);
        QFETCH(bool, kept);
        QTemporaryDir folder;
        const ResumeStore store(folder.filePath(u"sub/resume.json"_s));
        store.remember(u"/v/other.rmvb"_s, 42, 100);
        store.remember(u"/v/电影.rmvb"_s, 900, 5400);
        store.remember(u"/v/电影.rmvb"_s, position, duration);
        QCOMPARE(store.position(u"/v/电影.rmvb"_s).has_value(), kept);
        if (kept) {
            QCOMPARE(*store.position(u"/v/电影.rmvb"_s), position);
        }
        QCOMPARE(*store.position(u"/v/other.rmvb"_s), 42.0);  // others untouched
    }

    void resumeStoreIsBoundedToTheMostRecentFiles() {
        QTemporaryDir folder;
        const ResumeStore store(folder.filePath(u"resume.json"_s));
        for (int i = 0; i <= ResumeStore::kMaxFiles; ++i) {
            store.remember(u"/v/%1.rm"_s.arg(i), 60, 0);
        }
        QVERIFY(!store.position(u"/v/0.rm"_s));
        QVERIFY(store.position(u"/v/1.rm"_s));
        QVERIFY(store.position(u"/v/%1.rm"_s.arg(ResumeStore::kMaxFiles)));
    }

    void corruptResumeStoreIsSetAsideNotLost() {
        QTemporaryDir folder;
        const QString file = folder.filePath(u"resume.json"_s);
        QVERIFY(writeAll(file, "{\"files\": [tru"));
        const ResumeStore store(file);
        QVERIFY(!store.position(u"/v/a.rm"_s));
        QCOMPARE(readAll(file + u".bad"_s), QByteArray("{\"files\": [tru"));
        store.remember(u"/v/a.rm"_s, 60, 0);
        QCOMPARE(*store.position(u"/v/a.rm"_s), 60.0);
    }

    void unwritableResumeStoreOnlyWarns() {
        const ResumeStore store(u"/proc/tivora/resume.json"_s);
        store.remember(u"/v/a.rm"_s, 60, 0);
        QVERIFY(!store.position(u"/v/a.rm"_s));
    }

    void settingsFileThatIsAFolderReadsAsNothing() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkdir(u"data.txt"_s));
        QTemporaryDir fallback;
        const SettingsFile file = settingsIn(program.path(), fallback.path());
        QVERIFY(!file.read());
        // Cannot go beside the program, so it goes to the fallback.
        QVERIFY(file.write({u"ab"_s, u"/x/"_s}));
        QCOMPARE(*file.read(), (SettingsLine{u"ab"_s, u"/x/"_s}));
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestPlayerUnits)
#include "tst_playerunits.moc"
