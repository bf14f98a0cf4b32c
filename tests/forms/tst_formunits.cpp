// Small pieces under the windows: code page conversion, dialog filters, player dispatch
// identifiers, the writable-folder probe.
#include "codepage/AnsiCodec.h"
#include "forms/FileDialog.h"
#include "forms/Folders.h"
#include "forms/FormError.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {

class TestFormUnits final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ansiConversion_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("representable");
        QTest::newRow("ascii") << u"/opt/tivora/skinh.she"_s << QByteArray("/opt/tivora/skinh.she")
                               << true;
        QTest::newRow("chinese") << u"皮肤"_s << QByteArray("\xC6\xA4\xB7\xF4") << true;
        QTest::newRow("outside the code page becomes ?")
            << u"a\u0E01b"_s << QByteArray("a?b") << false;
        QTest::newRow("empty") << QString() << QByteArray() << true;
    }

    void ansiConversion() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, representable);
        QCOMPARE(toAnsi(text), bytes);
        QCOMPARE(isAnsiRepresentable(text), representable);
        if (representable) {
            QCOMPARE(fromAnsi(bytes), text);
        }
    }

    void fileDialogFilter_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("one entry")
            << u"视频文件 (*.rm,*.rmvb)|*.rm;*.rmvb"_s << u"视频文件 (*.rm,*.rmvb) (*.rm *.rmvb)"_s;
        QTest::newRow("two entries") << u"A|*.a|B|*.b"_s << u"A (*.a);;B (*.b)"_s;
        QTest::newRow("dangling description") << u"A|*.a|B"_s << u"A (*.a)"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void fileDialogFilter() {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(toQtNameFilters(filter), qt);
    }

    void caselessFilters_data() {
        QTest::addColumn<QString>("filters");
        QTest::addColumn<QString>("caseless");
        QTest::newRow("video files") << u"视频文件 (*.rm,*.rmvb) (*.rm *.rmvb)"_s
                                     << u"视频文件 (*.rm,*.rmvb) (*.[rR][mM] *.[rR][mM][vV][bB])"_s;
        QTest::newRow("two entries") << u"A (*.a);;All (*)"_s << u"A (*.[aA]);;All (*)"_s;
        QTest::newRow("no patterns") << u"plain"_s << u"plain"_s;
    }

    void caselessFilters() {
        QFETCH(QString, filters);
        QFETCH(QString, caseless);
        QCOMPARE(caselessNameFilters(filters), caseless);
    }

    void playerDispatchIdentifiers() {
        QStringList log;
        QWidget parent;
        auto* player = new test::FakePlayer(log, &parent);  // owned by parent's widget tree
        player->invoke(PlayerControl::kDispSource, u"/media/a.rmvb"_s);
        player->invoke(PlayerControl::kDispPlay);
        player->invoke(PlayerControl::kDispStop);
        QCOMPARE(log, (QStringList{u"player source /media/a.rmvb"_s, u"player play"_s,
                                   u"player stop"_s}));
        QVERIFY_THROWS_EXCEPTION(FormError, player->invoke(99));
    }

    void writableFolderProbe_data() {
        QTest::addColumn<QString>("preferred");  // "<tmp>" stands for a fresh writable folder
        QTest::addColumn<QString>("existing");   // "file", "folder" or "" at preferred/name
        QTest::addColumn<bool>("takesPreferred");
        QTest::newRow("writable folder") << u"<tmp>"_s << QString() << true;
        QTest::newRow("writable file there") << u"<tmp>"_s << u"file"_s << true;
        QTest::newRow("a folder of that name") << u"<tmp>"_s << u"folder"_s << false;
        QTest::newRow("read-only, even for root") << u"/proc"_s << QString() << false;
        QTest::newRow("missing folder") << u"/nonexistent/tivora"_s << QString() << false;
    }

    void writableFolderProbe() {
        QFETCH(QString, preferred);
        QFETCH(QString, existing);
        QFETCH(bool, takesPreferred);
        QTemporaryDir scratch;
        if (preferred == u"<tmp>"_s) {
            preferred = scratch.path() + u"/program"_s;
            QVERIFY(QDir().mkpath(preferred));
        }
        const QString name = u"data.txt"_s;
        if (existing == u"file"_s) {
            QFile file(preferred + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (existing == u"folder"_s) {
            QVERIFY(QDir(preferred).mkdir(name));
        }
        const QString fallback = scratch.path() + u"/data/sub"_s;
        const QString chosen = chooseWritableFolder(preferred, fallback, name);
        QCOMPARE(chosen, takesPreferred ? preferred : fallback);
        QVERIFY(QFileInfo(chosen).isDir());
        // The probe leaves nothing behind.
        if (takesPreferred && existing.isEmpty()) {
            QVERIFY(
                QDir(preferred).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        }
    }

    void userVideosFolderExistsAndEndsWithSeparator() {
        const QString folder = userVideosFolder();
        QVERIFY(folder.endsWith(QDir::separator()));
        QVERIFY(QFileInfo(folder).isDir());
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestFormUnits)
#include "tst_formunits.moc"
