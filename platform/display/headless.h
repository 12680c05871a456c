// The headless display: no window system. Opening and mode changes always
// succeed, no input ever arrives and message boxes cannot be shown. Each
// presented frame is counted and can be handed to a capture callback (the
// capture tool writes PNGs from it); a copy of the last one is kept only when
// asked for.
#pragma once

#include "display/display.h"

#include <functional>
#include <vector>

namespace qv::display {

class HeadlessBackend : public Backend {
public:
    // Called with each presented frame; the frame is valid only for the call.
    using Capture = std::function<void(const Frame& frame)>;

    bool Open(HWND window, std::string& error) override;
    bool SetMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel, std::string& error) override;
    void Close() override;
    void Present(const Frame& frame, bool waitForRefresh) override;
    bool PumpInput(int timeoutMs) override;
    void ShowMessageBox(const char* text, const char* caption, UINT type) override;
    void WindowShown(HWND window, bool visible) override;
    void WindowDestroyed(HWND window) override;

    void SetCapture(Capture capture);
    // From now on each presented frame is copied, for LastFramePixels.
    void KeepLastFrame() { keepLastFrame_ = true; }

    // Frames presented since this back end was made.
    uint64_t PresentedFrames() const { return presented_; }
    // The last presented frame, packed (pitch == width); empty before the
    // first, or without KeepLastFrame.
    const std::vector<uint32_t>& LastFramePixels() const { return lastPixels_; }
    uint32_t LastFrameWidth() const { return lastWidth_; }
    uint32_t LastFrameHeight() const { return lastHeight_; }
    // The window given to Open while the display is taken, else null.
    HWND OpenWindow() const { return window_; }
    uint32_t ModeWidth() const { return modeWidth_; }
    uint32_t ModeHeight() const { return modeHeight_; }
    uint32_t ModeBitsPerPixel() const { return modeBits_; }

private:
    void KeepFrame(const Frame& frame);

    Capture capture_;
    uint64_t presented_ = 0;
    bool keepLastFrame_ = false;
    std::vector<uint32_t> lastPixels_;
    uint32_t lastWidth_ = 0, lastHeight_ = 0;
    HWND window_ = nullptr;
    uint32_t modeWidth_ = 0, modeHeight_ = 0, modeBits_ = 0;
};

}  // namespace qv::display
