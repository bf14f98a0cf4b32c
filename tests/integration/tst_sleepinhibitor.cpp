// The sleep inhibitor against a screen-saver service on a session bus of the test's own.
#include "desktop/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// Stands in for the desktop's screen saver; answers on a thread of its own, so the inhibitor's
// blocking calls from the test's thread are served.
class FakeScreenSaver final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    std::atomic<int> inhibits = 0;
    std::atomic<int> releases = 0;
    std::atomic<quint32> released = 0;

public Q_SLOTS:
    quint32 Inhibit(const QString& /*application*/, const QString& /*reason*/) {
        ++inhibits;
        return 41 + inhibits;
    }
    void UnInhibit(quint32 cookie) {
        released = cookie;
        ++releases;
    }
};

}  // namespace

class TestSleepInhibitor final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected()) {
            QSKIP("no session bus (run under dbus-run-session)");
        }
    }

    void withoutAServiceNothingHappens() {
        SleepInhibitor inhibitor;
        inhibitor.setInhibited(true);
        QVERIFY(inhibitor.isInhibited());
        inhibitor.setInhibited(false);
        QVERIFY(!inhibitor.isInhibited());
    }

    void inhibitsAndReleasesThroughTheService() {
        QThread thread;
        auto* saver = new FakeScreenSaver;
        saver->moveToThread(&thread);
        thread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"fake"_s);
        QVERIFY(bus.registerObject(u"/org/freedesktop/ScreenSaver"_s, saver,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(u"org.freedesktop.ScreenSaver"_s));
        {
            SleepInhibitor inhibitor;
            inhibitor.setInhibited(true);
            inhibitor.setInhibited(true);  // once is enough
            QCOMPARE(saver->inhibits.load(), 1);
            inhibitor.setInhibited(false);
            QCOMPARE(saver->releases.load(), 1);
            QCOMPARE(saver->released.load(), 42U);
            inhibitor.setInhibited(true);
        }
        // Let go when it goes.
        QCOMPARE(saver->releases.load(), 2);
        bus.unregisterService(u"org.freedesktop.ScreenSaver"_s);
        QDBusConnection::disconnectFromBus(u"fake"_s);
        thread.quit();
        thread.wait();
        delete saver;
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestSleepInhibitor)
#include "tst_sleepinhibitor.moc"
