// The DLL's start and end. start.cpp is compiled against the stand-in's
// declarations and runs its settings; the rest of this folder against the
// real platform's, so this header uses no platform type.
#pragma once

#include <cstdint>
#include <string>

namespace qv::win32 {

// Reads the QUORVANE_* settings as the process loads the DLL. A bad one is
// kept, and the first DirectDrawCreate shows it and ends the process with
// exit code 2, as the stand-in's own start does. QUORVANE_CLOCK takes
// effect here, before the program's code runs.
void Start();
// QUORVANE_WINDOWED=1: the program's window keeps its frame and size.
bool Windowed();
// Ends the trace and the capture: empty, or why an output failed.
std::string Finish();

// The window system's side: shows a bad setting in a message box and ends
// the process with exit code 2.
[[noreturn]] void RefuseSettings(const std::string& error);

}  // namespace qv::win32
