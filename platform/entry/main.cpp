// The process start-up of the stand-in: applies the platform's settings from
// the environment, installs the display back end, and calls the program's
// WinMain as Windows would: this instance, no previous instance, the command
// line, and SW_SHOWDEFAULT as the show command. The process exits with
// WinMain's result.

#include <windows.h>

#include "control/control.h"
#include "display/display.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    // The back end is chosen first: ApplyEnvironment may open the trace file,
    // which is only done once every setting is known to be good.
    std::string error;
    const char* display = std::getenv("QUORVANE_DISPLAY");
    if (!qv::display::InstallByName(display && *display ? display : "sdl", error) ||
        !qv::control::ApplyEnvironment(error)) {
        std::fprintf(stderr, "quorvane: %s\n", error.c_str());
        return 2;
    }
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    static int instanceTag;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(&instanceTag);
    return WinMain(instance, nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
