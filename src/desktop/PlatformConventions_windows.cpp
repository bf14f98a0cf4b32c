#include "PlatformConventions.h"

using namespace Qt::StringLiterals;

namespace tivora::platform {

void prepareProcessEnvironment() {}

QString playerProgramName() {
    return u"QvodPlayer.exe"_s;
}

QStringList volumeControls() {
    return {u"Sndvol32.exe"_s, u"SndVol.exe"_s};
}

QString mediaDialogFolder() {
    return u"D:\\Media"_s;
}

bool fileNamesAreCaseSensitive() {
    return false;
}

}  // namespace tivora::platform
