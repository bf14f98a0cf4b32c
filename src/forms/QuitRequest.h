#pragma once

// Set once the program is asked to end (a termination signal, the main window's exit). Work that
// holds the event loop for long, such as a download, checks it and gives up.
namespace tivora::quit {

// Safe to call from a signal handler.
void request();
[[nodiscard]] bool requested();
void resetForTesting();

}  // namespace tivora::quit
