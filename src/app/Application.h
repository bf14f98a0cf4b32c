#pragma once

namespace tivora {

// Starts Tivora: reads the command line, shows the main window and runs until the program ends.
int runApplication(int argc, char* argv[]);

// Makes "宋体" and "SimSun" resolve to an installed Song-style CJK font.
void installFontSubstitutions();

}  // namespace tivora
