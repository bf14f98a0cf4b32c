// The player window on the session bus as MPRIS 2, driven from outside the process with gdbus,
// as media keys and panel widgets drive it.
#include "desktop/MprisService.h"
#include "player/PlayerWindow.h"
#include "support/TestWindows.h"
#include "support/WindowProbes.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr int kBound = 10000;
const QString kPlayerInterface = u"org.mpris.MediaPlayer2.Player"_s;

// One gdbus call to the player, answered while this process keeps serving the bus.
QString call(const QString& method, const QStringList& arguments = {}) {
    QProcess gdbus;
    gdbus.start(u"gdbus"_s, QStringList{u"call"_s, u"--session"_s, u"--dest"_s,
                                        u"org.mpris.MediaPlayer2.tivora"_s, u"--object-path"_s,
                                        u"/org/mpris/MediaPlayer2"_s, u"--method"_s, method} +
                                arguments);
    if (!gdbus.waitForStarted(kBound)) {
        return u"gdbus did not start"_s;
    }
    for (int waited = 0; gdbus.state() != QProcess::NotRunning && waited < kBound; waited += 10) {
        QTest::qWait(10);
    }
    return QString::fromUtf8(gdbus.readAllStandardOutput() + gdbus.readAllStandardError())
        .trimmed();
}

QString busProperty(const QString& name) {
    return call(u"org.freedesktop.DBus.Properties.Get"_s, {kPlayerInterface, name});
}

QString setBusProperty(const QString& name, const QString& value) {
    return call(u"org.freedesktop.DBus.Properties.Set"_s, {kPlayerInterface, name, value});
}

}  // namespace

class TestMpris final : public QObject {
    Q_OBJECT

public Q_SLOTS:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& /*invalidated*/) {
        if (interface == kPlayerInterface) {
            changes_ << changed.keys();
        }
    }

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        if (!QDBusConnection::sessionBus().isConnected()) {
            QSKIP("no session bus (the test runs under dbus-run-session)");
        }
        if (QStandardPaths::findExecutable(u"gdbus"_s).isEmpty()) {
            QSKIP("gdbus is not installed");
        }
        for (const QString& name : {u"ab01.mp4"_s, u"ab02.mp4"_s, u"ab03.mkv"_s}) {
            QFile file(media_.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDBusConnection::sessionBus().connect(
            u"org.mpris.MediaPlayer2.tivora"_s, u"/org/mpris/MediaPlayer2"_s,
            u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s, this,
            SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    }

    void init() {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        for (const QString& name : {u"data.txt"_s, u"player.ini"_s, u"recent.json"_s}) {
            QFile::remove(data + u'/' + name);
        }
        changes_.clear();
        windows_ = std::make_unique<test::TestWindows>(AppConfig{.portalRoot = u"http://x"_s});
        windows_->services.mediaControls = [] { return createSystemMediaControls(); };
        QString chosen = media_.filePath(u"ab01.mp4"_s);
        windows_->services.fileChooser = [chosen]() mutable { return std::exchange(chosen, {}); };
        PlayerWindow& window = windows_->forms.playerWindow();
        window.show();
        test::probe(window).timer1()->setInterval(0);
        QTRY_COMPARE_WITH_TIMEOUT(window.caption(), u"ab01.mp4"_s, kBound);
        player_ = test::probe(window).player();
    }

    void cleanup() { windows_.reset(); }

    void transportAndPropertiesFromOutside() {
        QCOMPARE(busProperty(u"PlaybackStatus"_s), u"(<'Playing'>,)"_s);
        QCOMPARE(call(kPlayerInterface + u".PlayPause"_s), u"()"_s);
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPaused(), kBound);
        QCOMPARE(busProperty(u"PlaybackStatus"_s), u"(<'Paused'>,)"_s);
        QTRY_VERIFY_WITH_TIMEOUT(changes_.contains(u"PlaybackStatus"_s), kBound);

        QCOMPARE(setBusProperty(u"Rate"_s, u"<1.5>"_s), u"()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(player_->speed(), 1.5, kBound);
        QCOMPARE(busProperty(u"Rate"_s), u"(<1.5>,)"_s);
        QTRY_VERIFY_WITH_TIMEOUT(changes_.contains(u"Rate"_s), kBound);

        player_->seekTo(100);
        QCOMPARE(busProperty(u"Position"_s), u"(<int64 100000000>,)"_s);
        const QString metadata = busProperty(u"Metadata"_s);
        QVERIFY2(metadata.contains(u"'xesam:title': <'ab01.mp4'>"_s), qPrintable(metadata));
        QVERIFY2(metadata.contains(u"'mpris:length': <int64 5400000000>"_s), qPrintable(metadata));
        const QString track = metadata.section(u"objectpath '"_s, 1).section(u'\'', 0, 0);
        QVERIFY(track.startsWith(u"/org/mpris/MediaPlayer2/tivora/track/"_s));
        QCOMPARE(call(kPlayerInterface + u".SetPosition"_s, {track, u"200000000"_s}), u"()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(player_->position(), 200.0, kBound);

        QCOMPARE(busProperty(u"CanGoNext"_s), u"(<true>,)"_s);
        QCOMPARE(call(kPlayerInterface + u".Next"_s), u"()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(windows_->forms.playerWindow().caption(), u"ab02.mp4"_s, kBound);
        QTRY_VERIFY_WITH_TIMEOUT(busProperty(u"Metadata"_s).contains(u"<'ab02.mp4'>"_s), kBound);
        QTRY_VERIFY_WITH_TIMEOUT(changes_.contains(u"Metadata"_s), kBound);
        QCOMPARE(call(kPlayerInterface + u".Previous"_s), u"()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(windows_->forms.playerWindow().caption(), u"ab01.mp4"_s, kBound);

        QCOMPARE(setBusProperty(u"Volume"_s, u"<0.25>"_s), u"()"_s);
        QTRY_COMPARE_WITH_TIMEOUT(player_->volume(), 25, kBound);
    }

    void badRequestsAreRefusedOrClamped_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("position");
        const QString set = u"org.freedesktop.DBus.Properties.Set"_s;
        QTest::newRow("rate 0") << set << QStringList{kPlayerInterface, u"Rate"_s, u"<0.0>"_s}
                                << 1.0 << 60.0;
        QTest::newRow("rate -1") << set << QStringList{kPlayerInterface, u"Rate"_s, u"<-1.0>"_s}
                                 << 1.0 << 60.0;
        QTest::newRow("rate 1000")
            << set << QStringList{kPlayerInterface, u"Rate"_s, u"<1000.0>"_s} << 2.0 << 60.0;
        QTest::newRow("position before the start")
            << kPlayerInterface + u".SetPosition"_s << QStringList{u"@track"_s, u"int64 -5"_s}
            << 1.0 << 60.0;
        QTest::newRow("position after the end")
            << kPlayerInterface + u".SetPosition"_s << QStringList{u"@track"_s, u"999999999999"_s}
            << 1.0 << 60.0;
        QTest::newRow("unknown track id")
            << kPlayerInterface + u".SetPosition"_s
            << QStringList{u"/org/mpris/MediaPlayer2/tivora/track/999"_s, u"1000000"_s} << 1.0
            << 60.0;
    }

    void badRequestsAreRefusedOrClamped() {
        QFETCH(QString, method);
        QFETCH(QStringList, arguments);
        QFETCH(double, speed);
        QFETCH(double, position);
        player_->seekTo(60);
        if (arguments.first() == u"@track"_s) {
            arguments.first() =
                busProperty(u"Metadata"_s).section(u"objectpath '"_s, 1).section(u'\'', 0, 0);
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"refused|clamped"_s));
        QCOMPARE(call(method, arguments), u"()"_s);
        // Answered in order: once this is answered, the request before it has been handled.
        QCOMPARE(busProperty(u"PlaybackStatus"_s), u"(<'Playing'>,)"_s);
        QCOMPARE(player_->speed(), speed);
        QCOMPARE(player_->position(), position);
        QVERIFY(player_->hasFile());
    }

private:
    QTemporaryDir media_;
    std::unique_ptr<test::TestWindows> windows_;
    QPointer<PlayerControl> player_;
    QStringList changes_;
};

}  // namespace tivora

QTEST_MAIN(tivora::TestMpris)
#include "tst_mpris.moc"
