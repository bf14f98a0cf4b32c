#pragma once

namespace tivora {

// Starts Tivora: reads the command line, shows the main window and runs until the program ends.
int runApplication(int argc, char* argv[]);

// What the process needs before the application object exists.
void prepareEnvironment();
// Once it exists: its names, and what the windows rely on (side windows that do not end the run,
// C number formatting for libmpv, the Song font's substitutes).
void setUpApplication();

// Makes "宋体" and "SimSun" resolve to an installed Song-style CJK font.
void installFontSubstitutions();

}  // namespace tivora
