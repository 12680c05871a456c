// Starting the program as Windows starts a process: the stand-in's entry, the
// capture tool and the tests all run the program through here.
#pragma once

#include <string>

namespace qv::entry {

// Calls the program's WinMain with this instance, no previous instance, the
// command line, and SW_SHOWDEFAULT as the show command; returns its result.
int RunWinMain(std::string commandLine);

}  // namespace qv::entry
