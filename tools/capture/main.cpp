// quorvane-capture: runs the program itself on the headless display, with
// the stand-in's settings taken from the command line, and writes what it
// presented as PNG files.

#include "control/control.h"
#include "display/headless.h"
#include "entry/launch.h"
#include "display/png_writer.h"
#include "options.h"
#include "output_files.h"
#include "program_settings.h"
#include "stall_watch.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int kBadOption = 2;
constexpr int kOutputFailed = 3;

std::string FramePath(const std::string& dir, uint64_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05llu.png", static_cast<unsigned long long>(index));
    return dir + name;
}

bool ApplySettings(const CaptureOptions& options, std::string& error) {
    qv::control::SetFrameLimit(options.frames);
    qv::control::SetDrawThreads(options.threads);
    if (options.seed) qv::control::SetClock(static_cast<std::time_t>(*options.seed));
    if (!options.modes.empty()) {
        auto modes = qv::control::ParseDisplayModes(options.modes, error);
        if (!modes) return false;
        qv::control::SetDisplayModes(std::move(*modes));
    }
    for (const std::string& fault : options.faults)
        if (!qv::control::ParseFault(fault, error)) return false;
    return true;
}

// Every output is checked, or made, before the run.
bool PrepareOutputs(const CaptureOptions& options, std::string& error) {
    return (options.png.empty() || qv::tools::CheckWritable(options.png, error)) &&
           (options.pngDir.empty() ||
            (qv::tools::MakeDirectory(options.pngDir, error) &&
             qv::tools::CheckWritable(FramePath(options.pngDir, 0), error))) &&
           (options.trace.empty() || qv::control::TraceFile(options.trace, error));
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto options = ParseCaptureOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
        return kBadOption;
    }
    if (options->help) {
        std::fputs(kCaptureUsage, stdout);
        return 0;
    }
    if (options->listFaults) {
        std::fputs(qv::control::FaultList().c_str(), stdout);
        return 0;
    }
    if (!qv::tools::RefuseProgramSettings("quorvane-capture", error) || !ApplySettings(*options, error)) {
        std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
        return kBadOption;
    }
    if (!PrepareOutputs(*options, error)) {
        std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
        return kOutputFailed;
    }

    auto headless = std::make_unique<qv::display::HeadlessBackend>();
    qv::display::HeadlessBackend& display = *headless;
    bool outputFailed = false;
    if (!options->png.empty()) display.KeepLastFrame();
    std::optional<StallWatch> watch(std::in_place, options->stallSeconds, options->frames);
    display.SetCapture([&, index = uint64_t{0}](const qv::display::Frame& frame) mutable {
        watch->Flipped();
        if (!options->pngDir.empty() && index % options->every == 0 && !outputFailed &&
            !qv::display::WritePng(FramePath(options->pngDir, index), frame, error)) {
            std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
            outputFailed = true;
        }
        ++index;
    });
    qv::display::Install(std::move(headless));

    const int result = qv::entry::RunWinMain("");
    watch.reset();

    if (!options->png.empty()) {
        if (display.LastFramePixels().empty()) {
            std::fprintf(stderr, "quorvane-capture: no frame was presented, %s not written\n", options->png.c_str());
            outputFailed = true;
        } else {
            const qv::display::Frame last{display.LastFramePixels().data(), display.LastFrameWidth(),
                                          display.LastFrameWidth(), display.LastFrameHeight()};
            if (!qv::display::WritePng(options->png, last, error)) {
                std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
                outputFailed = true;
            }
        }
    }
    if (!qv::control::EndTrace(error)) {
        std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
        outputFailed = true;
    }
    return outputFailed && result == 0 ? kOutputFailed : result;
}
