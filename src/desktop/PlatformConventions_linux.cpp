#include "desktop/PlatformConventions.h"

#include "forms/Folders.h"
#include "forms/Logging.h"
#include "forms/QuitRequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include <malloc.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tivora::platform {

void prepareProcessEnvironment() {
    // Before any thread starts. glibc gives each busy thread an arena of its own and keeps what is
    // freed there: every film played left its decoder's frames behind (over 100 MiB after a few
    // films). One arena hands them back.
    mallopt(M_ARENA_MAX, 1);
    // Chromium refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qCWarning(lcDesktop) << "running as root, so web pages run without their sandbox";
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

bool canShowWindows() {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.startsWith(u"offscreen"_s) || platform.startsWith(u"minimal"_s)) {
        return false;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

namespace {

// Written by the signal handler, read by the event loop: only a write is safe in a handler.
std::array<int, 2> terminationPipe{-1, -1};

void onTerminationSignal(int /*signal*/) {
    const int savedErrno = errno;
    // Seen at once by work that holds the event loop, such as a download.
    quit::request();
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminationPipe[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

void quitOnTerminationRequest() {
    if (terminationPipe[0] >= 0) {
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0,
                     terminationPipe.data()) != 0) {
        std::perror("tivora: termination signals are not handled");
        return;
    }
    auto* notifier = new QSocketNotifier(terminationPipe[1], QSocketNotifier::Read,
                                         QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        while (::read(terminationPipe[1], &byte, 1) > 0) {
        }
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

void returnFreedMemory() {
    // glibc keeps freed memory below the top of its heaps, and Chromium's many short-lived
    // allocations leave plenty of it.
    malloc_trim(0);
}

QString instanceEndpoint() {
    // The runtime folder is the user's alone; without XDG_RUNTIME_DIR Qt makes a per-user one.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(u"tivora"_s);
}

QString curlLibraryFile() {
    return u"libcurl.so.4"_s;
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
