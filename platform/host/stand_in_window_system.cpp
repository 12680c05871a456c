// The window system of the stand-in: its own window layer, and the active
// display back end for the display.

#include "host/window_system.h"

#include "display/display.h"
#include "user/desktop.h"
#include "user/input.h"
#include "user/names.h"

#include <cstdio>

namespace qv::host {
namespace {

class StandInWindowSystem final : public WindowSystem {
public:
    // The window layer's own lookup: IsWindow would put a call on the trace
    // that the caller never made.
    bool IsWindow(HWND window) override { return user::FindWindow(window) != nullptr; }
    std::string WindowName(HWND window) override { return user::WindowText(window); }
    bool TakeDisplay(HWND window, std::string& error) override { return display::Active().Open(window, error); }
    bool SetMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel, std::string& error) override {
        return display::Active().SetMode(width, height, bitsPerPixel, error);
    }
    void GiveBackDisplay() override { display::Active().Close(); }
    void Present(const Frame& frame, bool waitForRefresh) override { display::Active().Present(frame, waitForRefresh); }
    void CloseMainWindow() override { user::PostInputMessage(user::MainWindow(), WM_CLOSE, 0, 0); }
    void Tell(const std::string& line) override { std::fprintf(stderr, "quorvane: %s\n", line.c_str()); }
};

}  // namespace

WindowSystem& Active() {
    static StandInWindowSystem windowSystem;
    return windowSystem;
}

}  // namespace qv::host
