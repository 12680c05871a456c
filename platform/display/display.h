// A display back end: where the stand-in's full-screen display shows its
// frames and where input comes from. Headless (no window system), SDL2
// (a real window or full screen) and, in the WebAssembly build, the browser
// (a web page's canvas) implement it.
#pragma once

#include "host/frame.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qv::display {

// A finished frame: 32-bit XRGB pixels, pitch in pixels.
using Frame = host::Frame;

// What a back end needs from the window layer, which hands itself over
// (ConnectInput): input delivered as window messages, and the window's
// title and icon.
class InputSink {
public:
    virtual ~InputSink() = default;
    // Posts an input message to the window's input queue, as the window
    // system would; messages for a window that is not live are dropped.
    virtual void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Marks the window's contents as lost, so that WM_PAINT is due.
    virtual void Invalidate(HWND window) = 0;
    // The window's title as created (empty when the window is unknown).
    virtual const char* Title(HWND window) = 0;
    // The icon file (directory and images) of the window's class when it is
    // one of the program's icon resources, else null.
    virtual const unsigned char* ClassIcon(HWND window, std::size_t& size) = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Takes the display for the window (exclusive full-screen mode). On
    // failure returns false with a one-line reason a person can act on.
    virtual bool Open(HWND window, std::string& error) = 0;
    // Sets the mode the program draws in; the back end shows it scaled.
    virtual bool SetMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel, std::string& error) = 0;
    // Gives the display back.
    virtual void Close() = 0;
    // Shows a finished frame as it stands now; waitForRefresh paces it to
    // the display's refresh.
    virtual void Present(const Frame& frame, bool waitForRefresh) = 0;
    // Turns pending input into window messages, waiting up to timeoutMs
    // (-1: without limit) for some. Returns false when no input can ever
    // arrive (nothing to wait for).
    virtual bool PumpInput(int timeoutMs) = 0;
    // Shows a message box to a person and waits for the answer, where the
    // back end has a way to (the window layer has written its text on
    // standard error already).
    virtual void ShowMessageBox(const char* text, const char* caption, UINT type) = 0;
    // The window layer tells the back end about its windows.
    virtual void WindowShown(HWND window, bool visible) = 0;
    virtual void WindowDestroyed(HWND window) = 0;

    // Where the back end's input goes; until the window layer connects, a
    // sink that drops everything.
    void ConnectInput(InputSink* sink) { input_ = sink; }

protected:
    InputSink& Input() const;

private:
    InputSink* input_ = nullptr;
};

// The active back end (headless until another is installed; installing
// null goes back to a fresh headless one on the next Active()).
Backend& Active();
void Install(std::unique_ptr<Backend> backend);

// The window layer connects itself once: every back end, installed now or
// later, delivers its input there.
void ConnectInput(InputSink* sink);

// Which back end ApplyEnvironment/ the program's start-up installs, by the
// names display/backends.h lists (QUORVANE_DISPLAY). An unknown name, or a
// back end that cannot start, leaves the active one and says why in error.
bool InstallByName(const std::string& name, std::string& error);

}  // namespace qv::display
