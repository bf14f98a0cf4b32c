#pragma once

#include <QString>
#include <QStringList>

// What differs between the systems Tivora runs on; one source file per system, chosen by CMake.
namespace tivora::platform {

// Sets what the process needs before the application object exists.
void prepareProcessEnvironment();

// Whether a window the program opens would reach a user's screen (a desktop session, not a
// terminal without one or an off-screen platform).
[[nodiscard]] bool canShowWindows();

// Ends the event loop, so the program closes as by its own quit, when the system asks the process
// to terminate (SIGTERM, SIGINT, SIGHUP; console close on Windows). Call once the application
// exists.
void quitOnTerminationRequest();

// Hands memory the process has freed back to the system, where the C library keeps it otherwise.
void returnFreedMemory();

// Where the starts of one user meet: a socket in the user's runtime folder, a pipe named after the
// user on Windows.
[[nodiscard]] QString instanceEndpoint();

// The file libcurl is loaded from when the first download starts.
[[nodiscard]] QString curlLibraryFile();

// The stand-alone player program's file name beside Tivora.
[[nodiscard]] QString playerProgramName();
// Volume control programs to try, in order.
[[nodiscard]] QStringList volumeControls();
// Where the open-video dialog starts.
[[nodiscard]] QString mediaDialogFolder();
// Whether the file dialog tells "A.RM" from "a.rm".
[[nodiscard]] bool fileNamesAreCaseSensitive();

}  // namespace tivora::platform
