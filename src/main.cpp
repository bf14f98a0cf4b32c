#include "app/Application.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    using tivora::CommandLine;
    const CommandLine commandLine = tivora::readCommandLine(argc, argv);
    switch (commandLine.action) {
        case CommandLine::Action::Help:
        case CommandLine::Action::Version:
            std::fputs(commandLine.message.toLocal8Bit().constData(), stdout);
            return 0;
        case CommandLine::Action::Error:
            std::fputs(commandLine.message.toLocal8Bit().constData(), stderr);
            tivora::showCommandLineRefusal(argc, argv, commandLine);
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    return tivora::runApplication(argc, argv, commandLine);
}
