#include "options.h"

#include <charconv>
#include <cstring>
#include <limits>

const char* const kCaptureUsage =
    "usage: quorvane-capture [options]\n"
    "Runs Quorvane (its WinMain, message loop and all) on the headless display.\n"
    "  --frames N           after N flipped frames, close the main window as a user\n"
    "                       would (WM_CLOSE); default 60\n"
    "  --seed S             seed the random source with S instead of the clock\n"
    "  --png FILE           write the last presented frame as an 800 x 600 PNG\n"
    "  --png-dir DIR        write presented frames to DIR/frame_NNNNN.png ...\n"
    "  --every K            ... every K-th frame, counting from frame 0 (default 1)\n"
    "  --trace FILE         write the platform call trace of the whole run\n"
    "  --fail OPERATION[:N] make the N-th call (default the first) of a platform\n"
    "                       operation fail, e.g. IDirectDraw::SetDisplayMode;\n"
    "                       may be given more than once; --fail list names every\n"
    "                       operation that can fail and its default failure\n"
    "  --modes WxHxB,...    the display modes the stand-in offers\n"
    "  --help               this text\n"
    "Exit code: the program's (0 after a normal close, 1 after a failed start);\n"
    "2 for a bad option, 3 when an output file cannot be written.\n";

namespace {

template <typename Number>
bool ParseNumber(const char* text, Number& out) {
    const char* end = text + std::strlen(text);
    auto [last, status] = std::from_chars(text, end, out);
    return status == std::errc() && last == end && last != text;
}

}  // namespace

std::optional<CaptureOptions> ParseCaptureOptions(int argc, char** argv, std::string& error) {
    CaptureOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "option " + name + " needs a value (see --help)";
            return std::nullopt;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (name == "--frames") {
            ok = ParseNumber(value, options.frames) && options.frames > 0;
        } else if (name == "--seed") {
            uint32_t seed = 0;
            ok = ParseNumber(value, seed);
            options.seed = seed;
        } else if (name == "--every") {
            ok = ParseNumber(value, options.every) && options.every > 0;
        } else if (name == "--png") {
            options.png = value;
        } else if (name == "--png-dir") {
            options.pngDir = value;
        } else if (name == "--trace") {
            options.trace = value;
        } else if (name == "--fail") {
            if (std::strcmp(value, "list") == 0) {
                options.listFaults = true;
            } else {
                options.faults.push_back(value);
            }
        } else if (name == "--modes") {
            options.modes = value;
        } else {
            error = "unknown option " + name + " (see --help)";
            return std::nullopt;
        }
        if (!ok || !*value) {
            error = "bad value '" + std::string(value) + "' for " + name + " (see --help)";
            return std::nullopt;
        }
    }
    return options;
}
