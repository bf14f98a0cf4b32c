#include "SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

using namespace Qt::StringLiterals;

namespace tivora {

// The freedesktop screen-saver service, which desktops also read as "no sleep".
struct SleepInhibitor::Platform {
    quint32 cookie = 0;
    bool held = false;

    static QDBusInterface service() {
        return {u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s,
                u"org.freedesktop.ScreenSaver"_s, QDBusConnection::sessionBus()};
    }
    static bool available() {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.isConnected() && bus.interface() != nullptr &&
               bus.interface()->isServiceRegistered(u"org.freedesktop.ScreenSaver"_s).value();
    }
};

SleepInhibitor::SleepInhibitor() : platform_(std::make_unique<Platform>()) {}

SleepInhibitor::~SleepInhibitor() {
    setInhibited(false);
}

void SleepInhibitor::setInhibited(bool on) {
    if (on == inhibited_) {
        return;
    }
    inhibited_ = on;
    if (on) {
        if (!Platform::available()) {
            return;
        }
        QDBusInterface service = Platform::service();
        const QDBusReply<quint32> reply =
            service.call(u"Inhibit"_s, u"Tivora"_s, u"正在播放视频"_s);
        platform_->held = reply.isValid();
        platform_->cookie = reply.isValid() ? reply.value() : 0;
    } else if (platform_->held) {
        QDBusInterface service = Platform::service();
        service.call(u"UnInhibit"_s, platform_->cookie);
        platform_->held = false;
    }
}

}  // namespace tivora
