// The display back ends a build can install, by the names QUORVANE_DISPLAY
// uses: the desktop build's (headless, sdl) or the browser build's (headless,
// browser). The build links the one list for its platform.
#pragma once

#include "display/display.h"

#include <memory>
#include <span>
#include <string>

namespace qv::display {

// make returns null and says why in error when the back end cannot start.
struct BackendFactory {
    const char* name;
    std::unique_ptr<Backend> (*make)(std::string& error);
};

std::span<const BackendFactory> Backends();

// The headless back end's factory, in every list.
std::unique_ptr<Backend> MakeHeadlessBackend(std::string& error);

}  // namespace qv::display
