// The file list: which names it shows for a folder and pattern, and its click events.
#include "player/FileListBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

void touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

QStringList rows(const FileListBox& list) {
    QStringList names;
    for (int row = 0; row < list.listCount(); ++row) {
        names << list.list(row);
    }
    return names;
}

}  // namespace

class TestFileListBox final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        for (const QString& name :
             {u"ab01.rmvb"_s, u"AB02.RM"_s, u"xab03.rm"_s, u"ab.txt"_s, u"rm_ab.avi"_s,
              u"电影ab.rmvb"_s, u".ab-hidden.rm"_s, u"[ab]rm"_s, u"bb.rm"_s}) {
            touch(folder_.filePath(name));
        }
        QVERIFY(QDir(folder_.path()).mkdir(u"ab-folder.rm"_s));
    }

    void startsOnTheCurrentFolderWithEveryName() {
        QTemporaryDir current;
        touch(current.filePath(u"one"_s));
        touch(current.filePath(u"Two.rm"_s));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        FileListBox list(nullptr);
        QDir::setCurrent(before);
        QCOMPARE(QDir(list.path()).canonicalPath(), QDir(current.path()).canonicalPath());
        QCOMPARE(list.pattern(), u"*"_s);
        QCOMPARE(rows(list), (QStringList{u"one"_s, u"Two.rm"_s}));
    }

    void listsMatchingFiles_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("prefix ab") << u"*ab*rm*"_s
                                   << QStringList{u"[ab]rm"_s, u"ab01.rmvb"_s, u"AB02.RM"_s,
                                                  u"xab03.rm"_s, u"电影ab.rmvb"_s};
        QTest::newRow("no prefix")
            << u"**rm*"_s
            << QStringList{u"[ab]rm"_s,    u"ab01.rmvb"_s, u"AB02.RM"_s,    u"bb.rm"_s,
                           u"rm_ab.avi"_s, u"xab03.rm"_s,  u"电影ab.rmvb"_s};
        QTest::newRow("chinese prefix") << u"*电影*rm*"_s << QStringList{u"电影ab.rmvb"_s};
        QTest::newRow("nothing") << u"*zz*rm*"_s << QStringList{};
    }

    void listsMatchingFiles() {
        QFETCH(QString, pattern);
        FileListBox list(nullptr);
        list.setPattern(pattern);
        list.setPath(folder_.path());
        QTEST(rows(list), "names");
        QCOMPARE(list.listIndex(), -1);
    }

    void missingFolderListsNothing() {
        FileListBox list(nullptr);
        list.setPath(folder_.filePath(u"gone"_s));
        QCOMPARE(list.listCount(), 0);
        QCOMPARE(list.list(0), QString());
        QCOMPARE(list.list(-1), QString());
    }

    void refreshSeesRemovedFiles() {
        QTemporaryDir folder;
        touch(folder.filePath(u"a.rm"_s));
        touch(folder.filePath(u"b.rm"_s));
        FileListBox list(nullptr);
        list.setPath(folder.path());
        QCOMPARE(list.listCount(), 2);
        QVERIFY(QFile::remove(folder.filePath(u"a.rm"_s)));
        QCOMPARE(list.list(0), u"a.rm"_s);  // kept until the list reads the folder again
        list.refresh();
        QCOMPARE(rows(list), QStringList{u"b.rm"_s});
    }

    void choosingARowByKeyboardIsAClick() {
        FileListBox list(nullptr);
        list.setPath(folder_.path());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy clicks(&list, &FileListBox::rowClicked);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Down);
        // Focus alone made the first row current without choosing it.
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(list.listIndex(), 2);
    }

    void mouseClicksAndDoubleClicks() {
        FileListBox list(nullptr);
        list.setPath(folder_.path());
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy clicks(&list, &FileListBox::rowClicked);
        QSignalSpy doubleClicks(&list, &FileListBox::rowDoubleClicked);
        QWindow* window = list.windowHandle();
        const auto at = [&](int row) {
            return list.viewport()->mapTo(&list, list.visualItemRect(list.item(row)).center());
        };
        QTest::mouseClick(window, Qt::LeftButton, {}, at(2));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(list.listIndex(), 2);
        // The row already chosen, clicked again, is clicked again.
        QTest::mouseClick(window, Qt::LeftButton, {}, at(2));
        QCOMPARE(clicks.size(), 2);
        // A double-click on another row: one click, one double-click.
        QTest::mouseDClick(window, Qt::LeftButton, {}, at(4));
        QCOMPARE(clicks.size(), 3);
        QCOMPARE(doubleClicks.size(), 1);
        QCOMPARE(list.listIndex(), 4);
        // A double-click on the chosen row: its first press and release make the click.
        QTest::mouseDClick(window, Qt::LeftButton, {}, at(4));
        QCOMPARE(clicks.size(), 4);
        QCOMPARE(doubleClicks.size(), 2);
    }

    void relistingIsNoClick() {
        FileListBox list(nullptr);
        list.setPath(folder_.path());
        list.setCurrentRow(1);
        QSignalSpy clicks(&list, &FileListBox::rowClicked);
        list.setPattern(u"*ab*rm*"_s);
        list.refresh();
        QCOMPARE(clicks.size(), 0);
        QCOMPARE(list.listIndex(), -1);
    }

    void aFolderOfAHundredThousandFiles() {
        QTemporaryDir big;
        QElapsedTimer made;
        made.start();
        for (int i = 0; i < 100000; ++i) {
            QFile file(big.filePath(u"f%1%2"_s.arg(i, 6, 10, QLatin1Char('0'))
                                        .arg(i % 10 == 0 ? u".rmvb"_s : u".avi"_s)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        qInfo("made 100000 files in %lld ms", made.elapsed());
        FileListBox list(nullptr);
        list.resize(200, 300);
        list.show();
        QElapsedTimer listing;
        listing.start();
        list.setPattern(u"*f0*rm*"_s);
        list.setPath(big.path());
        qInfo("listed in %lld ms", listing.elapsed());
        QCOMPARE(list.listCount(), 10000);
        QCOMPARE(list.list(0), u"f000000.rmvb"_s);
        QCOMPARE(list.list(9999), u"f099990.rmvb"_s);
        list.setPattern(u"*"_s);
        QCOMPARE(list.listCount(), 100000);
        list.scrollToBottom();
        // Generous: a window that freezes for seconds on a big folder counts as hung.
        QVERIFY2(listing.elapsed() < 10000, qPrintable(QString::number(listing.elapsed())));
    }

private:
    QTemporaryDir folder_;
};

}  // namespace tivora

QTEST_MAIN(tivora::TestFileListBox)
#include "tst_filelistbox.moc"
