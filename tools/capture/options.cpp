#include "options.h"

#include "arguments.h"

const char* const kCaptureUsage =
    "usage: quorvane-capture [options]   (--name value or --name=value)\n"
    "Runs Quorvane (its WinMain, message loop and all) on the headless display.\n"
    "  --frames N           after N flipped frames, close the main window as a user\n"
    "                       would (WM_CLOSE); default 60\n"
    "  --seed S             seed the random source with S instead of the clock\n"
    "  --png FILE           write the last presented frame as an 800 x 600 PNG\n"
    "  --png-dir DIR        write presented frames to DIR/frame_NNNNN.png (DIR is\n"
    "                       made if missing) ...\n"
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

std::optional<CaptureOptions> ParseCaptureOptions(int argc, char** argv, std::string& error) {
    const auto arguments =
        qv::tools::ReadArguments(argc, argv, {"--frames", "--seed", "--png", "--png-dir", "--every", "--trace", "--fail", "--modes"},
                                 {"--help", "-h"}, error);
    if (!arguments) return std::nullopt;
    CaptureOptions options;
    bool everyGiven = false;
    for (const qv::tools::Argument& argument : *arguments) {
        const std::string& name = argument.name;
        const std::string& value = argument.value;
        uint64_t seed = 0;
        bool ok = true;
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--frames") {
            ok = qv::tools::ReadNumber(argument, 1, UINT64_MAX, options.frames, error);
        } else if (name == "--seed") {
            ok = qv::tools::ReadNumber(argument, 0, UINT32_MAX, seed, error);
            options.seed = static_cast<uint32_t>(seed);
        } else if (name == "--every") {
            ok = qv::tools::ReadNumber(argument, 1, UINT64_MAX, options.every, error);
            everyGiven = true;
        } else if (name.empty()) {
            error = "unexpected argument '" + value + "' (see --help)";
            ok = false;
        } else if (value.empty()) {
            error = "option " + name + " needs a value that is not empty (see --help)";
            ok = false;
        } else if (name == "--png") {
            options.png = value;
        } else if (name == "--png-dir") {
            options.pngDir = value;
        } else if (name == "--trace") {
            options.trace = value;
        } else if (name == "--fail") {
            if (value == "list") {
                options.listFaults = true;
            } else {
                options.faults.push_back(value);
            }
        } else if (name == "--modes") {
            options.modes = value;
        }
        if (!ok) return std::nullopt;
    }
    if (everyGiven && options.pngDir.empty()) {
        error = "--every chooses the frames that --png-dir writes; give --png-dir too (see --help)";
        return std::nullopt;
    }
    return options;
}
