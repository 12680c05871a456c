// The window system of ddraw.dll: real user32 and GDI. The cooperative
// window is the program's own; exclusive full screen makes it a borderless
// window covering its monitor (no display mode changes), and each flipped
// frame is drawn into it scaled to fit with its shape kept, black bars
// around. DDFLIP_WAIT waits for the compositor's next frame where it runs,
// else for the next tick of a timer at the monitor's refresh rate.

#include "host/window_system.h"

#include "win32/start.h"

#include <cstdio>
#include <vector>

namespace qv::host {
namespace {

constexpr DWORD kFallbackRefreshHz = 60;

class Win32WindowSystem final : public WindowSystem {
public:
    bool IsWindow(HWND window) override { return ::IsWindow(window); }

    // Windows are numbered in the order the trace first meets them.
    std::string WindowName(HWND window) override {
        if (!window) return "NULL";
        std::size_t index = 0;
        while (index < named_.size() && named_[index] != window) ++index;
        if (index == named_.size()) named_.push_back(window);
        return "hwnd#" + std::to_string(index + 1);
    }

    bool TakeDisplay(HWND window, std::string&) override {
        window_ = window;
        if (!win32::Windowed()) {
            style_ = GetWindowLongPtrA(window, GWL_STYLE);
            placement_.length = sizeof placement_;
            GetWindowPlacement(window, &placement_);
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
            const RECT& area = monitor.rcMonitor;
            SetWindowLongPtrA(window, GWL_STYLE, (style_ & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
            SetWindowPos(window, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        }
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        refreshHz_ = EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1
                         ? mode.dmDisplayFrequency
                         : kFallbackRefreshHz;
        if (HMODULE dwm = LoadLibraryA("dwmapi.dll")) {
            dwmFlush_ = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush")));
            auto composited = reinterpret_cast<HRESULT(WINAPI*)(BOOL*)>(
                reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
            BOOL enabled = FALSE;
            if (!composited || composited(&enabled) != S_OK || !enabled) dwmFlush_ = nullptr;
        }
        nextTick_ = 0;
        return true;
    }

    bool SetMode(uint32_t, uint32_t, uint32_t, std::string&) override { return true; }

    void GiveBackDisplay() override {
        if (!win32::Windowed() && ::IsWindow(window_)) {
            SetWindowLongPtrA(window_, GWL_STYLE, style_);
            SetWindowPlacement(window_, &placement_);
            SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
        }
        window_ = nullptr;
    }

    void Present(const Frame& frame, bool waitForRefresh) override {
        Draw(frame);
        if (waitForRefresh) WaitForRefresh();
    }

    void CloseMainWindow() override { PostMessageA(window_, WM_CLOSE, 0, 0); }

    void Tell(const std::string& line) override {
        const std::string text = "quorvane: " + line + "\n";
        OutputDebugStringA(text.c_str());
        std::fputs(text.c_str(), stderr);
    }

private:
    // The frame scaled to the client area with its shape kept, centred; a
    // window that cannot be seen is not drawn to.
    void Draw(const Frame& frame) {
        RECT client{};
        if (!frame.pixels || !frame.width || !frame.height || !IsWindowVisible(window_) || IsIconic(window_) ||
            !GetClientRect(window_, &client))
            return;
        const LONG areaWidth = client.right, areaHeight = client.bottom;
        const Placement place = FitPicture(frame.width, frame.height, uint32_t(areaWidth), uint32_t(areaHeight));
        const LONG left = LONG(place.x), top = LONG(place.y), width = LONG(place.width), height = LONG(place.height);
        HDC dc = GetDC(window_);
        if (!dc) return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = LONG(frame.pitch);
        info.bmiHeader.biHeight = -LONG(frame.height);  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, left, top, width, height, 0, 0, frame.width, frame.height, frame.pixels, &info,
                      DIB_RGB_COLORS, SRCCOPY);
        HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        const RECT bars[] = {{0, 0, areaWidth, top},
                             {0, top + height, areaWidth, areaHeight},
                             {0, top, left, top + height},
                             {left + width, top, areaWidth, top + height}};
        for (const RECT& bar : bars) {
            if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
        }
        ReleaseDC(window_, dc);
    }

    void WaitForRefresh() {
        if (dwmFlush_ && dwmFlush_() == S_OK) return;
        LARGE_INTEGER frequency, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&now);
        const LONGLONG period = frequency.QuadPart / refreshHz_;
        // A late frame starts the ticks again rather than rushing to catch up.
        if (nextTick_ == 0 || now.QuadPart > nextTick_ + period) nextTick_ = now.QuadPart;
        while (now.QuadPart < nextTick_) {
            const LONGLONG milliseconds = (nextTick_ - now.QuadPart) * 1000 / frequency.QuadPart;
            Sleep(milliseconds > 1 ? DWORD(milliseconds - 1) : 0);
            QueryPerformanceCounter(&now);
        }
        nextTick_ += period;
    }

    HWND window_ = nullptr;
    LONG_PTR style_ = 0;
    WINDOWPLACEMENT placement_{};
    std::vector<HWND> named_;
    DWORD refreshHz_ = kFallbackRefreshHz;
    HRESULT(WINAPI* dwmFlush_)() = nullptr;
    LONGLONG nextTick_ = 0;
};

}  // namespace

WindowSystem& Active() {
    static Win32WindowSystem windowSystem;
    return windowSystem;
}

}  // namespace qv::host

namespace qv::win32 {

void RefuseSettings(const std::string& error) {
    host::Active().Tell(error);
    MessageBoxA(nullptr, ("ddraw.dll: " + error).c_str(), "Quorvane", MB_OK | MB_ICONERROR);
    ExitProcess(2);
}

}  // namespace qv::win32
