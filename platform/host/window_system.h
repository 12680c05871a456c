// The window system as the DirectDraw and Direct3D objects see it: the
// cooperative window, the exclusive full-screen display and its mode, the
// presentation of flipped frames, and a line of news for the person running
// the program. The stand-in's window layer and display back ends implement
// it on Linux (stand_in_window_system.cpp); real user32 and GDI implement it
// in the Windows ddraw.dll (win32/).
#pragma once

#include "host/frame.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace qv::host {

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Whether the handle is a live window, asked without a call of the
    // program's own on the trace.
    virtual bool IsWindow(HWND window) = 0;
    // The window as the call trace names it ("hwnd#1", "NULL").
    virtual std::string WindowName(HWND window) = 0;
    // Takes the display for the window (exclusive full screen); on failure
    // returns false with a one-line reason a person can act on.
    virtual bool TakeDisplay(HWND window, std::string& error) = 0;
    // Sets the mode the program draws in; the picture is shown scaled.
    virtual bool SetMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel, std::string& error) = 0;
    virtual void GiveBackDisplay() = 0;
    // Shows a flipped frame as it stands now; waitForRefresh paces it to the
    // display's refresh.
    virtual void Present(const Frame& frame, bool waitForRefresh) = 0;
    // Closes the program's main window as a user would (WM_CLOSE as input).
    virtual void CloseMainWindow() = 0;
    // One line for the person running the program.
    virtual void Tell(const std::string& line) = 0;
};

// The window system of this build.
WindowSystem& Active();

}  // namespace qv::host
