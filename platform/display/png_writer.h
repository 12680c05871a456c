// Writes a frame as an 8-bit RGB PNG file (the X byte of XRGB is dropped).
#pragma once

#include "display/display.h"

#include <string>

namespace qv::display {

// On failure returns false and says why in error; a partial file may remain.
bool WritePng(const std::string& path, const Frame& frame, std::string& error);

}  // namespace qv::display
