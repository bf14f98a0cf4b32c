#include "PlatformConventions.h"

#include "Folders.h"

#include <QCoreApplication>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tivora::platform {

void prepareProcessEnvironment() {
    // Chromium refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

QString playerProgramName() {
    return u"QvodPlayer"_s;
}

QStringList volumeControls() {
    return {u"pavucontrol"_s, u"pavucontrol-qt"_s, u"pwvucontrol"_s,     u"mate-volume-control"_s,
            u"kmix"_s,        u"qasmixer"_s,       u"gnome-alsamixer"_s, u"alsamixergui"_s};
}

QString mediaDialogFolder() {
    return userVideosFolder();
}

bool fileNamesAreCaseSensitive() {
    return true;
}

}  // namespace tivora::platform
