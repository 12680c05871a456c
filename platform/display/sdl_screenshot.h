// The stand-in's own Print Screen: saves the frame on screen as a PNG.
#pragma once

#include "display/display.h"

namespace qv::display {

// Saves the frame under a new name (quorvane-YYYYMMDD-HHMMSS[-N].png) in the
// current directory and says where in one line on standard output, or why
// not on standard error.
void SaveScreenshot(const Frame& frame);

}  // namespace qv::display
