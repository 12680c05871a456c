// The SDL2 display: the program's exclusive full-screen mode becomes a
// full-screen window on the desktop (or, with QUORVANE_WINDOWED=1, an
// ordinary resizable window), the picture scaled to fit with its shape kept
// (sdl_presenter.h says how, and QUORVANE_PRESENT chooses); a window that
// cannot be seen is not drawn to. SDL's input becomes window messages;
// message boxes are SDL's.
#pragma once

#include "display/display.h"

#include <memory>
#include <string>

namespace qv::display {

// Making it always succeeds; a missing display shows when the program takes
// the display (Open says why).
std::unique_ptr<Backend> MakeSdlBackend(std::string& error);

}  // namespace qv::display
