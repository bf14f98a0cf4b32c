#include "desktop/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// The freedesktop screen-saver service, which desktops also read as "no sleep".
constexpr QStringView kService = u"org.freedesktop.ScreenSaver";

QDBusInterface screenSaver() {
    return {kService.toString(), u"/org/freedesktop/ScreenSaver"_s, kService.toString(),
            QDBusConnection::sessionBus()};
}

bool screenSaverRuns() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() != nullptr &&
           bus.interface()->isServiceRegistered(kService.toString()).value();
}

}  // namespace

void SleepInhibitor::hold() {
    if (!screenSaverRuns()) {
        return;
    }
    QDBusInterface service = screenSaver();
    const QDBusReply<quint32> reply = service.call(u"Inhibit"_s, u"Tivora"_s, u"正在播放视频"_s);
    held_ = reply.isValid();
    cookie_ = reply.isValid() ? reply.value() : 0;
}

void SleepInhibitor::release() {
    if (held_) {
        QDBusInterface service = screenSaver();
        service.call(u"UnInhibit"_s, cookie_);
        held_ = false;
    }
}

}  // namespace tivora
