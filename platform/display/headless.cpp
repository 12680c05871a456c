#include "display/headless.h"

#include "control/control.h"
#include "display/backends.h"

#include <algorithm>
#include <string>

namespace qv::display {

bool HeadlessBackend::Open(HWND window, std::string&) {
    window_ = window;
    return true;
}

bool HeadlessBackend::SetMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel, std::string&) {
    modeWidth_ = width;
    modeHeight_ = height;
    modeBits_ = bitsPerPixel;
    return true;
}

void HeadlessBackend::Close() { window_ = nullptr; }

void HeadlessBackend::Present(const Frame& frame, bool) {
    ++presented_;
    if (frame.pixels && frame.pitch >= frame.width) {
        if (keepLastFrame_) KeepFrame(frame);
        if (capture_) capture_(frame);
    }
}

bool HeadlessBackend::PumpInput(int) { return false; }

void HeadlessBackend::ShowMessageBox(const char*, const char*, UINT) {}

void HeadlessBackend::WindowShown(HWND, bool) {}

void HeadlessBackend::WindowDestroyed(HWND window) {
    if (window == window_) window_ = nullptr;
}

void HeadlessBackend::KeepFrame(const Frame& frame) {
    // Same-sized frames reuse the copy's memory: no allocation per frame.
    lastPixels_.resize(static_cast<std::size_t>(frame.width) * frame.height);
    for (uint32_t y = 0; y < frame.height; ++y) {
        const uint32_t* row = frame.pixels + y * frame.pitch;
        std::copy(row, row + frame.width, lastPixels_.begin() + static_cast<std::ptrdiff_t>(y) * frame.width);
    }
    lastWidth_ = frame.width;
    lastHeight_ = frame.height;
}

void HeadlessBackend::SetCapture(Capture capture) { capture_ = std::move(capture); }

// The window's and the presentation's settings would do nothing here.
std::unique_ptr<Backend> MakeHeadlessBackend(std::string& error) {
    for (const char* name : {"QUORVANE_WINDOWED", "QUORVANE_PRESENT"}) {
        if (control::EnvironmentValue(name)) {
            error = std::string(name) + ": the headless display has no window and shows nothing; unset it";
            return nullptr;
        }
    }
    return std::make_unique<HeadlessBackend>();
}

}  // namespace qv::display
