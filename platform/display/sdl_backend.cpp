#include "display/sdl_backend.h"

#include "control/control.h"

#include "display/sdl_icon.h"
#include "display/sdl_input.h"
#include "display/sdl_message_box.h"
#include "display/sdl_pacing.h"
#include "display/sdl_presenter.h"
#include "display/sdl_screenshot.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace qv::display {
namespace {

constexpr int kFallbackRefreshHz = 60;

// Whether there is a window system to talk to. With SDL_VIDEODRIVER set,
// SDL is left to find out.
bool DisplayReachable(std::string& error) {
    if (control::EnvironmentValue("SDL_VIDEODRIVER") || control::EnvironmentValue("DISPLAY") ||
        control::EnvironmentValue("WAYLAND_DISPLAY"))
        return true;
    error = "no display to open (DISPLAY and WAYLAND_DISPLAY are unset); QUORVANE_DISPLAY=headless runs without one";
    return false;
}

// Why the display could not be opened: the window systems the environment
// names did not answer (unless SDL_VIDEODRIVER chose for SDL).
std::string DisplayFailure() {
    if (control::EnvironmentValue("SDL_VIDEODRIVER")) return "cannot open the display";
    const bool wayland = control::EnvironmentValue("WAYLAND_DISPLAY"), x = control::EnvironmentValue("DISPLAY");
    const std::string waylandName = wayland ? std::string("the Wayland display '") + std::getenv("WAYLAND_DISPLAY") + "'" : "";
    const std::string xName = x ? std::string("the X display '") + std::getenv("DISPLAY") + "'" : "";
    if (wayland && x) return "neither " + waylandName + " nor " + xName + " answers";
    return (wayland ? waylandName : xName) + " does not answer";
}

// Unless SDL_VIDEODRIVER says otherwise, SDL may use only the window systems
// the environment names: left to itself, with those unreachable, it falls
// back to drivers that show nothing, and the program would run unseen.
void ChooseVideoDrivers() {
    if (control::EnvironmentValue("SDL_VIDEODRIVER")) return;
    std::string drivers = control::EnvironmentValue("WAYLAND_DISPLAY") ? "wayland" : "";
    if (control::EnvironmentValue("DISPLAY")) drivers += drivers.empty() ? "x11" : ",x11";
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

// The icon the window's class registered, where it is one of the program's
// icon resources; a system icon or undecodable data leaves SDL's default.
void SetClassIcon(SDL_Window* window, InputSink& input, HWND program) {
    std::size_t size = 0;
    const unsigned char* file = input.ClassIcon(program, size);
    if (!file) return;
    std::string ignored;
    std::optional<IconImage> icon = DecodeIcon(file, size, ignored);
    if (!icon) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon->pixels.data(), int(icon->width), int(icon->height),
                                                              32, int(icon->width * 4), SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

class SdlBackend : public Backend {
public:
    ~SdlBackend() override { Close(); }

    bool Open(HWND window, std::string& error) override {
        Close();
        bool windowed = false;
        PresentPath path = PresentPath::kChoose;
        if (!control::WindowedSetting(windowed, error) || !PresentSetting(path, error) || !DisplayReachable(error)) return false;
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");  // closing is the program's business
        ChooseVideoDrivers();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            error = DisplayFailure() + " (" + SDL_GetError() + "); QUORVANE_DISPLAY=headless runs without one";
            return false;
        }
        videoStarted_ = true;
        // Full screen covers the whole first display even where no window
        // manager acts on the full-screen request (a bare X server).
        SDL_Rect area{int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED), 800, 600};
        if (!windowed) SDL_GetDisplayBounds(0, &area);
        const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI |
                             (windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
        sdlWindow_ = SDL_CreateWindow(Input().Title(window), area.x, area.y, area.w, area.h, flags);
        if (!sdlWindow_) {
            error = std::string("cannot open a window on the display (") + SDL_GetError() + ")";
            Close();
            return false;
        }
        presenter_ = MakePresenter(sdlWindow_, path, error);
        if (!presenter_) {
            Close();
            return false;
        }
        SetClassIcon(sdlWindow_, Input(), window);
        SDL_DisplayMode mode{};
        refreshHz_ = SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(sdlWindow_), &mode) == 0 && mode.refresh_rate > 0
                         ? mode.refresh_rate
                         : kFallbackRefreshHz;
        windowed_ = windowed;
        window_ = window;
        return true;
    }

    bool SetMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel, std::string& error) override {
        if (!presenter_) {
            error = "the display is not open";
            return false;
        }
        if (bitsPerPixel != 32) {
            error = "the SDL display shows 32-bit modes only";
            return false;
        }
        if (!presenter_->SetSize(width, height, error)) return false;
        if (windowed_) SDL_SetWindowSize(sdlWindow_, int(width), int(height));
        return true;
    }

    void Close() override {
        if (!videoStarted_) return;
        presenter_.reset();
        if (sdlWindow_) SDL_DestroyWindow(sdlWindow_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
        sdlWindow_ = nullptr;
        window_ = nullptr;
        screenshotWanted_ = false;
    }

    // A window that cannot be seen is not drawn to, but its frames keep the
    // display's pace.
    void Present(const Frame& frame, bool waitForRefresh) override {
        if (!presenter_ || !frame.pixels || frame.pitch < frame.width) return;
        const bool seen = !(SDL_GetWindowFlags(sdlWindow_) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
        if (waitForRefresh && !(seen && presenter_->WaitsForRefresh())) pacer_.Wait(refreshHz_);
        if (!seen) return;
        presenter_->Show(frame);
        if (screenshotWanted_) SaveScreenshot(frame);
        screenshotWanted_ = false;
    }

    bool PumpInput(int timeoutMs) override {
        if (!sdlWindow_) return false;
        SDL_Event event;
        bool got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
        while (got) {
            Handle(event);
            got = SDL_PollEvent(&event);
        }
        return true;
    }

    void ShowMessageBox(const char* text, const char* caption, UINT type) override {
        std::string ignored;
        if (DisplayReachable(ignored)) ShowSdlMessageBox(text, caption, type);
    }

    void WindowShown(HWND window, bool visible) override {
        if (window != window_ || !sdlWindow_) return;
        if (visible) {
            SDL_ShowWindow(sdlWindow_);
            SDL_RaiseWindow(sdlWindow_);
        } else {
            SDL_HideWindow(sdlWindow_);
        }
    }

    void WindowDestroyed(HWND window) override {
        if (window == window_) Close();
    }

private:
    // Whether the window may no longer show what was presented in it.
    static bool WindowLostPixels(Uint8 event) {
        return event == SDL_WINDOWEVENT_EXPOSED || event == SDL_WINDOWEVENT_SIZE_CHANGED ||
               event == SDL_WINDOWEVENT_SHOWN || event == SDL_WINDOWEVENT_RESTORED;
    }

    void Handle(const SDL_Event& event) {
        if (event.type == SDL_WINDOWEVENT && presenter_ && WindowLostPixels(event.window.event)) presenter_->Invalidate();
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            Input().Invalidate(window_);
            return;
        }
        const bool isKey = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
        if (isKey && event.key.keysym.scancode == SDL_SCANCODE_PRINTSCREEN) {
            // The next frame shown is saved: frames are not copied in case
            // the key comes.
            if (event.type == SDL_KEYDOWN && !event.key.repeat) screenshotWanted_ = true;
            return;
        }
        TranslateEvent(event, [this](UINT message, WPARAM wParam, LPARAM lParam) {
            Input().Post(window_, message, wParam, lParam);
        });
    }

    HWND window_ = nullptr;
    bool videoStarted_ = false;
    SDL_Window* sdlWindow_ = nullptr;
    std::unique_ptr<Presenter> presenter_;
    bool windowed_ = false;
    int refreshHz_ = kFallbackRefreshHz;
    FramePacer pacer_;
    bool screenshotWanted_ = false;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend(std::string&) { return std::make_unique<SdlBackend>(); }

}  // namespace qv::display
