#pragma once

#include "forms/LayoutSteps.h"

namespace tivora::layout {

// The main window's 40 placement steps, in order, each skipped on failure.
void layOutMainWindow(Target& target);

}  // namespace tivora::layout
