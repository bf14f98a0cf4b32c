// The check page's markers and version code.
#include "portal/VersionCheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora::version {

class TestVersionCheck final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void versionCode_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("code");  // empty: no version
        QTest::newRow("1.0 behind an equals sign") << u"<b>qor13=10</b>"_s << u"10"_s;
        QTest::newRow("1.2") << u"qor qor13=12 v12"_s << u"12"_s;
        QTest::newRow("any separator") << u"qor13:27"_s << u"27"_s;
        QTest::newRow("marker at the very end") << u"<html>qor13"_s << QString();
        QTest::newRow("only one digit after") << u"qor13=1"_s << QString();
        QTest::newRow("directly followed by 1 0 x") << u"qor1310x"_s << QString();
        QTest::newRow("qor without qor13") << u"<html>qor v10</html>"_s << QString();
        QTest::newRow("first marker malformed, second whole") << u"qor13=ab qor13=11"_s << u"11"_s;
        QTest::newRow("marker in capitals") << u"QOR13=12"_s << QString();
        QTest::newRow("full-width digits are not digits") << u"qor13=１２"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void versionCode() {
        QFETCH(QString, markup);
        QFETCH(QString, code);
        const std::optional<QString> found = version::versionCode(markup);
        QCOMPARE(found.value_or(QString()), code);
    }

    void markers_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<bool>("current");
        QTest::newRow("both") << u"<p>qor</p><p>v10</p>"_s << true << true;
        QTest::newRow("inside attributes and longer words")
            << u"<a id=\"xqorx\" class=v101>"_s << true << true;
        QTest::newRow("qor only") << u"qor13=12"_s << true << false;
        QTest::newRow("v10 only") << u"v10"_s << false << true;
        QTest::newRow("capitals") << u"QOR V10"_s << false << false;
    }

    void markers() {
        QFETCH(QString, markup);
        QFETCH(bool, answered);
        QFETCH(bool, current);
        QCOMPARE(serverAnswered(markup), answered);
        QCOMPARE(isCurrentVersion(markup), current);
    }

    void statusAndLabel_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("label");
        QTest::newRow("current") << u"10"_s << u"当前版本为1.0版，最新版本为1.0版,无需更新"_s;
        QTest::newRow("newer") << u"12"_s << u"当前版本为1.0版，最新版本为1.2版,需要更新"_s;
        QTest::newRow("older counts as different")
            << u"09"_s << u"当前版本为1.0版，最新版本为0.9版,需要更新"_s;
    }

    void statusAndLabel() {
        QFETCH(QString, code);
        QFETCH(QString, label);
        QCOMPARE(versionLabel(code, statusFor(code)), label);
    }
};

}  // namespace tivora::version

QTEST_GUILESS_MAIN(tivora::version::TestVersionCheck)
#include "tst_versioncheck.moc"
