#pragma once

#include "forms/LayoutSteps.h"

namespace tivora::playerlayout {

using layout::Prop;
using layout::Target;

// The twelve resize steps in order, each skipped when it fails.
void layOutPlayerWindow(Target& target);

// Places the name banner by its label's current width; a failure escapes.
void placeBanner(Target& target);

// Gives the video the whole width and hides the list pane, until the next resize.
void hideList(Target& target);

}  // namespace tivora::playerlayout
