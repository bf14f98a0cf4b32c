// tivora-portal: the bundled demo portal as a program of its own.
#include "demo-portal/DemoPortal.h"
#include "demo-portal/PortalCommandLine.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <csignal>
#include <iostream>

#ifndef _WIN32
#include <pthread.h>
#include <sys/resource.h>
#else
#include <atomic>
#include <chrono>
#include <thread>
#endif

namespace {

#ifdef _WIN32
std::atomic<bool> interrupted = false;
void onSignal(int) {
    interrupted = true;
}
#endif

}  // namespace

int main(int argc, char* argv[]) {
    using tivora::demo::PortalCommandLine;
    const PortalCommandLine::Result command =
        PortalCommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (command.action != PortalCommandLine::Action::Run) {
        (command.action == PortalCommandLine::Action::Help ? std::cout : std::cerr)
            << command.message << std::endl;
        return PortalCommandLine::exitCode(command.action);
    }
    // The same data folder as the client's in-process portal.
    QCoreApplication::setOrganizationName(QStringLiteral("Tivora"));
    QCoreApplication::setApplicationName(QStringLiteral("Tivora"));

#ifndef _WIN32
    // Blocked before the server's threads exist, so they inherit the mask and only the wait
    // below receives the signals.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // Every open connection takes a descriptor; the usual soft limit of 1024 would cap them
    // below what the server is built to hold.
    rlimit files{};
    constexpr rlim_t wanted = 65536;
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < wanted) {
        files.rlim_cur =
            files.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, files.rlim_max);
        setrlimit(RLIMIT_NOFILE, &files);
    }
#else
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
#endif

    tivora::demo::DemoPortal portal(command.options);
    std::string error;
    if (!portal.start(&error)) {
        std::cerr << "tivora-portal: " << error << std::endl;
        return 1;
    }
    std::cout << "Tivora demo portal: " << portal.root() << std::endl;

#ifndef _WIN32
    int received = 0;
    sigwait(&signals, &received);
#else
    while (!interrupted) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
#endif
    portal.stop();
    std::cout << "Tivora demo portal stopped" << std::endl;
    return 0;
}
