#include "desktop/PlatformConventions.h"

#include "forms/QuitRequest.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <malloc.h>
#include <windows.h>

using namespace Qt::StringLiterals;

namespace tivora::platform {

void prepareProcessEnvironment() {}

namespace {

// Runs on a thread of its own; the quit is queued to the event loop.
BOOL WINAPI onConsoleEvent(DWORD /*event*/) {
    quit::request();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    return TRUE;
}

}  // namespace

void quitOnTerminationRequest() {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void returnFreedMemory() {
    _heapmin();
}

QString instanceEndpoint() {
    // Pipe names are shared by every session on the machine.
    return u"tivora-"_s + qEnvironmentVariable("USERNAME");
}

QString curlLibraryFile() {
    return u"libcurl.dll"_s;
}

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
