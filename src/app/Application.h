#pragma once

#include "app/AppConfig.h"

namespace tivora {

// The command line read over the built-in values; its message (help, version or a refusal) ends
// with a line break.
[[nodiscard]] CommandLine readCommandLine(int argc, char* argv[]);

// Starts Tivora with the command line read to run: shows the main window and runs until the
// program ends.
int runApplication(int argc, char* argv[], const CommandLine& commandLine);

// What the process needs before the application object exists.
void prepareEnvironment();
// Once it exists: its names, and what the windows rely on (side windows that do not end the run,
// C number formatting for libmpv, the Song font's substitutes, Qt's Chinese translations).
void setUpApplication();

// Loads Qt's and the web engine's Chinese translations, whatever the system's locale.
void installTranslations();

// Makes "宋体" and "SimSun" resolve to an installed Song-style CJK font.
void installFontSubstitutions();

}  // namespace tivora
