// The stand-in's own settings, like any platform's knobs: the display modes
// it offers, injected failures, the call trace, the frame limit and
// the clock. Tools and tests set them here; users set them through the
// QUORVANE_* environment variables read by ApplyEnvironment.
#pragma once

#include "control/operations.h"

#include <windows.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::control {

struct DisplayMode {
    uint32_t width, height, bitsPerPixel;
};

// The common modes of a desktop display, 800 x 600 x 32 among them.
std::vector<DisplayMode> DefaultDisplayModes();
void SetDisplayModes(std::vector<DisplayMode> modes);
const std::vector<DisplayMode>& DisplayModes();
// Parses "WxHxB,WxHxB,..."; on failure returns nullopt and says why in error.
std::optional<std::vector<DisplayMode>> ParseDisplayModes(std::string_view text, std::string& error);

// Makes the nth call (1 = the first) of the named operation fail, with code
// or, for S_OK, the operation's default (control/operations.h). Names are
// the published ones: "IDirectDraw::SetDisplayMode", "DirectDrawCreate",
// "CreateWindowExA", and "operator new[]" for the program's allocation.
// Returns false, injecting nothing, for a name that no call carries or a
// call that cannot fail.
bool InjectFault(std::string_view operation, unsigned nth = 1, HRESULT code = S_OK);
// Forgets every injected fault that has not fired yet.
void ClearFaults();
// Parses "OPERATION[:N]" (N defaults to 1) and injects it. Names may hold
// "::"; only a last ':' that is not part of one starts the count. A name
// that is not an operation is refused with the nearest names.
bool ParseFault(std::string_view text, std::string& error);
// Parses "OPERATION[:N];OPERATION[:N]..." and injects all of them, or none
// when one is bad.
bool ParseFaults(std::string_view list, std::string& error);
// Checks such a list as ParseFaults does, injecting nothing.
bool CheckFaults(std::string_view list, std::string& error);
// Counts one call of the operation; returns the code it must fail with, or
// S_OK when it runs normally. Each fault counts the calls made since it was
// injected and fires once.
HRESULT TakeFault(OperationId operation);
// Every operation that can be made to fail and its default failure, one
// "NAME FAILURE" line each.
std::string FaultList();

// The call trace: one line per platform call, in call order.
void SetTraceSink(std::function<void(const std::string& line)> sink);
// Sends the trace to a new file at path; false when it cannot be opened.
bool TraceFile(const std::string& path, std::string& error);
// Stops tracing and closes the trace file, if any: false when a line of it
// could not be written, and says why.
bool EndTrace(std::string& error);
bool Tracing();
void TraceLine(const std::string& line);

// After this many flipped frames the stand-in closes the main window the way
// a user would (WM_CLOSE), once. 0 means no limit. Setting it starts the
// count again.
void SetFrameLimit(uint64_t frames);
uint64_t FrameLimit();
// Counts one flipped frame; true for the one that reaches the limit.
bool CountFlippedFrame();

// The frame capture: the frame that reaches the frame limit is written to a
// new file at path as a binary PPM (RGB). CaptureFile opens (empties) it;
// false when it cannot. EndCapture closes it: false, saying why, when it
// could not be written or no frame was captured.
bool CaptureFile(const std::string& path, std::string& error);
void CaptureFrame(const uint32_t* pixels, std::size_t pitch, uint32_t width, uint32_t height);
bool EndCapture(std::string& error);

// Where the stand-in carries only some of the operations (the Windows
// ddraw.dll carries DirectDraw and Direct3D, not the window system or the
// program's allocation), faults are accepted for those alone; null: all.
void CarryOnly(bool (*carried)(std::string_view operation));

// The calendar clock the platform reports (time()); nullopt is the real one.
void SetClock(std::optional<std::time_t> seconds);
std::optional<std::time_t> Clock();

// The threads each 3D device draws with, from its creation to its release;
// 0 means the default: the processor's cores, at most 4. DrawThreads gives
// the number in effect, never 0.
constexpr unsigned kMaxDrawThreads = 64;
void SetDrawThreads(unsigned threads);
unsigned DrawThreads();

// Reads QUORVANE_MODES, QUORVANE_FAIL, QUORVANE_TRACE, QUORVANE_FRAMES,
// QUORVANE_CAPTURE, QUORVANE_CLOCK, QUORVANE_THREADS (and what the display
// back ends read themselves). On a bad value returns false and says why.
bool ApplyEnvironment(std::string& error);

// An environment variable's value, or null when it is unset or empty.
const char* EnvironmentValue(const char* name);

// QUORVANE_WINDOWED, read by the displays that honour it: 1 keeps the
// program in an ordinary window, unset or 0 takes the screen; any other
// value is refused with the reason in error.
bool WindowedSetting(bool& windowed, std::string& error);

// Back to the defaults: default modes, no faults, no trace, no capture, no
// limit, real clock, default drawing threads, every operation carried.
void Reset();

}  // namespace qv::control
