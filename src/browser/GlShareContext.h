#pragma once

namespace tivora::gl_share {

// Qt WebEngine makes the application-wide shared OpenGL context while the application object is
// made, loading the system's whole OpenGL stack before any window can be shown. Called before the
// application exists, this puts an empty context in its place, so that nothing is made then.
void reserve();

// Makes the shared context for real (when reserve() held its place), before the engine starts;
// OpenGL widgets share it from then on.
void create();

}  // namespace tivora::gl_share
