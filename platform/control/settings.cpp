// The headless frame limit, the clock, the QUORVANE_* environment
// variables and the reset to defaults.

#include "control/control.h"

#include <charconv>
#include <cstdlib>

namespace qv::control {
namespace {

uint64_t frameLimit = 0;
std::optional<std::time_t> fixedClock;

// The variable's value, or null when it is unset or empty.
const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

bool ParseCount(std::string_view text, uint64_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

}  // namespace

void SetFrameLimit(uint64_t frames) { frameLimit = frames; }
uint64_t FrameLimit() { return frameLimit; }

void SetClock(std::optional<std::time_t> seconds) { fixedClock = seconds; }
std::optional<std::time_t> Clock() { return fixedClock; }

bool ApplyEnvironment(std::string& error) {
    // Every value is checked before any takes effect.
    std::optional<std::vector<DisplayMode>> modes;
    if (const char* text = Variable("QUORVANE_MODES")) {
        modes = ParseDisplayModes(text, error);
        if (!modes) {
            error = "QUORVANE_MODES: " + error;
            return false;
        }
    }
    uint64_t frames = 0;
    const char* framesText = Variable("QUORVANE_FRAMES");
    if (framesText && !ParseCount(framesText, frames)) {
        error = std::string("QUORVANE_FRAMES: '") + framesText + "' is not a frame count (0 or more)";
        return false;
    }
    uint64_t seconds = 0;
    const char* clockText = Variable("QUORVANE_CLOCK");
    if (clockText && (!ParseCount(clockText, seconds) || static_cast<std::time_t>(seconds) < 0)) {
        error = std::string("QUORVANE_CLOCK: '") + clockText + "' is not a calendar time in seconds (0 or more)";
        return false;
    }
    const char* failText = Variable("QUORVANE_FAIL");
    if (failText && !CheckFaults(failText, error)) {
        error = "QUORVANE_FAIL: " + error;
        return false;
    }
    // Opening the trace empties its file: the last check, once all others passed.
    const char* tracePath = Variable("QUORVANE_TRACE");
    if (tracePath && !TraceFile(tracePath, error)) {
        error = "QUORVANE_TRACE: " + error;
        return false;
    }
    if (failText) ParseFaults(failText, error);
    if (modes) SetDisplayModes(std::move(*modes));
    if (framesText) SetFrameLimit(frames);
    if (clockText) SetClock(static_cast<std::time_t>(seconds));
    return true;
}

void Reset() {
    SetDisplayModes(DefaultDisplayModes());
    ClearFaults();
    SetTraceSink(nullptr);
    SetFrameLimit(0);
    SetClock(std::nullopt);
}

}  // namespace qv::control
