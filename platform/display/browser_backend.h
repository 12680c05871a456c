// The browser display (a WebAssembly build in a web page): the program's
// exclusive full-screen mode shows on the page's canvas, scaled to the page
// with its shape kept, and a click or key takes the page full screen. The
// page's keys become key messages; the message box is a dialog in the page.
// The program's waits yield to the browser: a flip that waits for the
// refresh resumes at the next animation frame, waiting for input resumes at
// the next key, and a message box resumes when it is answered.
#pragma once

#include "display/display.h"

#include <memory>
#include <string>

namespace qv::display {

std::unique_ptr<Backend> MakeBrowserBackend(std::string& error);

}  // namespace qv::display
