#pragma once

#include "portal/PortalAddresses.h"

#include <QString>
#include <QStringList>

namespace tivora {

struct AppConfig {
    QString portalRoot =
        {};                 // absolute http(s) address without a trailing slash; empty: demo portal
    QString siteRoot = {};  // the maker's web site; empty: the portal root
    QString adminQQ = {};
    QString groupQQ1 = {};
    QString groupQQ2 = {};
    QString openFile = {};  // a local file to play at start, in place of the open dialog
    portal::QueryEncoding portalEncoding = portal::QueryEncoding::Utf8;  // of typed text sent
};

// The values built into this program.
[[nodiscard]] AppConfig builtInConfig();

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    AppConfig config;
    bool newInstance = false;  // run beside an already running program instead of handing over
    QString message;           // help text, version line or error
    // A FILE refused: the user who opened it from a file manager is told in a box too.
    enum class FileRefusal { None, Missing, Unreadable };
    FileRefusal fileRefusal = FileRefusal::None;
    QString refusedFile;
};

// Reads the command line (program name first) over the built-in values. Qt's own window-system
// options are left for Qt.
[[nodiscard]] CommandLine parseCommandLine(const QStringList& arguments, const AppConfig& builtIn);

// An absolute http(s) address with its trailing slashes dropped, or an empty string with why in
// error.
[[nodiscard]] QString normalizedRoot(const QString& address, QString* error);

}  // namespace tivora
