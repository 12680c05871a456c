// The frame limit, the clock, the drawing threads, the QUORVANE_* environment
// variables and the reset to defaults.

#include "control/control.h"

#include "pipeline/workers.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace qv::control {
namespace {

uint64_t frameLimit = 0;
uint64_t framesFlipped = 0;
std::optional<std::time_t> fixedClock;
unsigned drawThreads = 0;

bool ParseCount(std::string_view text, uint64_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

}  // namespace

void SetFrameLimit(uint64_t frames) {
    frameLimit = frames;
    framesFlipped = 0;
}
uint64_t FrameLimit() { return frameLimit; }
bool CountFlippedFrame() { return ++framesFlipped == frameLimit; }

void SetClock(std::optional<std::time_t> seconds) { fixedClock = seconds; }
std::optional<std::time_t> Clock() { return fixedClock; }

void SetDrawThreads(unsigned threads) { drawThreads = threads; }
unsigned DrawThreads() { return drawThreads ? drawThreads : pipeline::DefaultWorkerCount(); }

bool ApplyEnvironment(std::string& error) {
    // Every value is checked before any takes effect.
    std::optional<std::vector<DisplayMode>> modes;
    if (const char* text = EnvironmentValue("QUORVANE_MODES")) {
        modes = ParseDisplayModes(text, error);
        if (!modes) {
            error = "QUORVANE_MODES: " + error;
            return false;
        }
    }
    uint64_t frames = 0;
    const char* framesText = EnvironmentValue("QUORVANE_FRAMES");
    if (framesText && !ParseCount(framesText, frames)) {
        error = std::string("QUORVANE_FRAMES: '") + framesText + "' is not a frame count (0 or more)";
        return false;
    }
    uint64_t seconds = 0;
    const char* clockText = EnvironmentValue("QUORVANE_CLOCK");
    if (clockText && (!ParseCount(clockText, seconds) || static_cast<std::time_t>(seconds) < 0)) {
        error = std::string("QUORVANE_CLOCK: '") + clockText + "' is not a calendar time in seconds (0 or more)";
        return false;
    }
    uint64_t threads = 0;
    const char* threadsText = EnvironmentValue("QUORVANE_THREADS");
    if (threadsText && (!ParseCount(threadsText, threads) || threads < 1 || threads > kMaxDrawThreads)) {
        error = std::string("QUORVANE_THREADS: '") + threadsText + "' is not a thread count (1 to " +
                std::to_string(kMaxDrawThreads) + ")";
        return false;
    }
    const char* failText = EnvironmentValue("QUORVANE_FAIL");
    if (failText && !CheckFaults(failText, error)) {
        error = "QUORVANE_FAIL: " + error;
        return false;
    }
    const char* capturePath = EnvironmentValue("QUORVANE_CAPTURE");
    if (capturePath && frames == 0) {
        error = "QUORVANE_CAPTURE: the captured frame is the one that reaches QUORVANE_FRAMES, which is not set";
        return false;
    }
    // Opening the outputs empties their files: the last checks, once all others passed.
    if (capturePath && !CaptureFile(capturePath, error)) {
        error = "QUORVANE_CAPTURE: " + error;
        return false;
    }
    const char* tracePath = EnvironmentValue("QUORVANE_TRACE");
    if (tracePath && !TraceFile(tracePath, error)) {
        std::string ignored;
        EndCapture(ignored);
        error = "QUORVANE_TRACE: " + error;
        return false;
    }
    if (failText) ParseFaults(failText, error);
    if (modes) SetDisplayModes(std::move(*modes));
    if (framesText) SetFrameLimit(frames);
    if (clockText) SetClock(static_cast<std::time_t>(seconds));
    if (threadsText) SetDrawThreads(static_cast<unsigned>(threads));
    return true;
}

void Reset() {
    SetDisplayModes(DefaultDisplayModes());
    ClearFaults();
    SetTraceSink(nullptr);
    std::string ignored;
    EndCapture(ignored);
    CarryOnly(nullptr);
    SetFrameLimit(0);
    SetClock(std::nullopt);
    SetDrawThreads(0);
}

const char* EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

bool WindowedSetting(bool& windowed, std::string& error) {
    const char* value = EnvironmentValue("QUORVANE_WINDOWED");
    if (value && std::strcmp(value, "0") != 0 && std::strcmp(value, "1") != 0) {
        error = std::string("QUORVANE_WINDOWED is '") + value + "'; it must be 0 (full screen) or 1 (a window)";
        return false;
    }
    windowed = value && std::strcmp(value, "1") == 0;
    return true;
}

}  // namespace qv::control
