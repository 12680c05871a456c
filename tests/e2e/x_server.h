// A private X server for end-to-end tests: an Xvfb on a display number it
// picks itself (so tests can run side by side), screenshots of its screen,
// finding a window by its title, and the close request a window manager
// sends when the window's close button is pressed.
#pragma once

#include "e2e/process.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct _XDisplay;  // Xlib's connection record

namespace qv::e2e {

struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, top row first
    uint32_t At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

class XServer {
public:
    // Starts Xvfb with one screen of the size given; Ready() tells whether it runs.
    XServer(int width, int height);
    ~XServer();

    bool Ready() const { return connection_ != nullptr; }
    // ":N", for the DISPLAY of the programs under test.
    const std::string& Name() const { return name_; }

    Screenshot Capture();
    // The top-level window with this title, 0 while there is none.
    unsigned long FindWindow(const std::string& title);
    // The width and height of the window's icon (_NET_WM_ICON's first image),
    // nullopt when it has none.
    std::optional<std::pair<long, long>> IconSize(unsigned long window);
    // Asks the window to close (WM_DELETE_WINDOW), as a window manager does.
    void RequestClose(unsigned long window);

private:
    std::unique_ptr<Process> server_;
    std::string name_;
    ::_XDisplay* connection_ = nullptr;
};

}  // namespace qv::e2e
