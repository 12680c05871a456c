// The process start-up of the stand-in: applies the platform's settings from
// the environment, installs the display back end, and runs the program's
// WinMain with the command line (its arguments, which the program ignores;
// --help alone is the stand-in's own). The process exits with WinMain's
// result, or with its own code when a setting or the trace fails.

#include "control/control.h"
#include "display/display.h"
#include "entry/launch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kBadSetting = 2;
constexpr int kOutputFailed = 3;

constexpr const char* kUsage =
    "usage: quorvane [--help]   (other arguments are handed to the program, which ignores them)\n"
    "Quorvane: four lit, spinning tori in a box, drawn at 800 x 600 x 32 through\n"
    "DirectDraw and Direct3D on this system's stand-in for them. Escape (or closing\n"
    "the window) ends it.\n"
    "Settings, read from the environment at start-up:\n"
    "  QUORVANE_DISPLAY=sdl|headless  the display back end (default sdl)\n"
    "  QUORVANE_WINDOWED=1            a resizable 800 x 600 window instead of full screen\n"
    "  QUORVANE_PRESENT=gpu|copy      how SDL shows frames (default: gpu unless its OpenGL is software)\n"
    "  QUORVANE_MODES=WxHxB,...       the display modes offered\n"
    "  QUORVANE_FAIL=OP[:N][;...]     the N-th call of each named operation fails\n"
    "  QUORVANE_TRACE=FILE            one line per platform call, with arguments and result\n"
    "  QUORVANE_FRAMES=N              close the main window after N flipped frames (0: no limit)\n"
    "  QUORVANE_CAPTURE=FILE          the frame that reaches QUORVANE_FRAMES, written to FILE (PPM)\n"
    "  QUORVANE_CLOCK=S               the calendar clock reads S seconds (fixes the random start)\n"
    "  QUORVANE_THREADS=N             drawing threads, 1 to 64 (default: the cores, at most 4)\n"
    "In a window, Print Screen saves the frame as quorvane-YYYYMMDD-HHMMSS.png in the\n"
    "current directory.\n"
    "Exit code: 0 after a normal close, 1 after a failed start, 2 for a bad setting,\n"
    "3 when the trace or capture file cannot be written.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // The back end is chosen first: ApplyEnvironment may open the trace file,
    // which is only done once every setting is known to be good.
    std::string error;
    const char* display = std::getenv("QUORVANE_DISPLAY");
    if (!qv::display::InstallByName(display && *display ? display : "sdl", error) ||
        !qv::control::ApplyEnvironment(error)) {
        std::fprintf(stderr, "quorvane: %s\n", error.c_str());
        return kBadSetting;
    }
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    int result = qv::entry::RunWinMain(commandLine);
    for (bool (*end)(std::string&) : {qv::control::EndTrace, qv::control::EndCapture}) {
        if (!end(error)) {
            std::fprintf(stderr, "quorvane: %s\n", error.c_str());
            if (result == 0) result = kOutputFailed;
        }
    }
    return result;
}
