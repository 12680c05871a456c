// Scaling: the picture is drawn into the renderer's full pixel size (high
// density screens included) at the largest size that keeps its shape, with
// black bars on the sides that differ, and linear filtering, which stays
// smooth at the uneven ratios desktops usually give.

#include "display/sdl_backend.h"

#include "display/sdl_icon.h"
#include "display/sdl_input.h"
#include "display/sdl_pacing.h"
#include "display/sdl_screenshot.h"
#include "user/input.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace qv::display {
namespace {

constexpr int kFallbackRefreshHz = 60;

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Whether there is a window system to talk to. With SDL_VIDEODRIVER set,
// SDL is left to find out.
bool DisplayReachable(std::string& error) {
    if (EnvironmentSet("SDL_VIDEODRIVER") || EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY")) return true;
    error = "no display to open (DISPLAY and WAYLAND_DISPLAY are unset); QUORVANE_DISPLAY=headless runs without one";
    return false;
}

// Why the display could not be opened: the window systems the environment
// names did not answer (unless SDL_VIDEODRIVER chose for SDL).
std::string DisplayFailure() {
    if (EnvironmentSet("SDL_VIDEODRIVER")) return "cannot open the display";
    const bool wayland = EnvironmentSet("WAYLAND_DISPLAY"), x = EnvironmentSet("DISPLAY");
    const std::string waylandName = wayland ? std::string("the Wayland display '") + std::getenv("WAYLAND_DISPLAY") + "'" : "";
    const std::string xName = x ? std::string("the X display '") + std::getenv("DISPLAY") + "'" : "";
    if (wayland && x) return "neither " + waylandName + " nor " + xName + " answers";
    return (wayland ? waylandName : xName) + " does not answer";
}

// Unless SDL_VIDEODRIVER says otherwise, SDL may use only the window systems
// the environment names: left to itself, with those unreachable, it falls
// back to drivers that show nothing, and the program would run unseen.
void ChooseVideoDrivers() {
    if (EnvironmentSet("SDL_VIDEODRIVER")) return;
    std::string drivers = EnvironmentSet("WAYLAND_DISPLAY") ? "wayland" : "";
    if (EnvironmentSet("DISPLAY")) drivers += drivers.empty() ? "x11" : ",x11";
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

// QUORVANE_WINDOWED=1 shows an ordinary window instead of taking the screen.
bool WindowedSetting(bool& windowed, std::string& error) {
    const char* value = std::getenv("QUORVANE_WINDOWED");
    if (!value || !*value || std::strcmp(value, "0") == 0) {
        windowed = false;
    } else if (std::strcmp(value, "1") == 0) {
        windowed = true;
    } else {
        error = std::string("QUORVANE_WINDOWED is '") + value + "'; it must be 0 (full screen) or 1 (a window)";
        return false;
    }
    return true;
}

// The icon the window's class registered, where it is one of the program's
// icon resources; a system icon or undecodable data leaves SDL's default.
void SetClassIcon(SDL_Window* window, HWND program) {
    const user::ModuleResource* resource = user::IconResource(user::WindowIcon(program, false));
    if (!resource) return;
    std::string ignored;
    std::optional<IconImage> icon = DecodeIcon(resource->bytes, resource->size, ignored);
    if (!icon) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon->pixels.data(), int(icon->width), int(icon->height),
                                                              32, int(icon->width * 4), SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

Uint32 MessageBoxFlags(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

class SdlBackend : public Backend {
public:
    ~SdlBackend() override { Close(); }

    bool Open(HWND window, std::string& error) override {
        Close();
        bool windowed = false;
        if (!WindowedSetting(windowed, error) || !DisplayReachable(error)) return false;
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");  // closing is the program's business
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
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
        sdlWindow_ = SDL_CreateWindow(user::WindowTitle(window), area.x, area.y, area.w, area.h, flags);
        if (sdlWindow_) {
            renderer_ = SDL_CreateRenderer(sdlWindow_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
            // Without graphics acceleration (a bare X server) SDL draws in software.
            if (!renderer_) renderer_ = SDL_CreateRenderer(sdlWindow_, -1, SDL_RENDERER_SOFTWARE);
        }
        if (!renderer_) {
            error = std::string("cannot open a window on the display (") + SDL_GetError() + ")";
            Close();
            return false;
        }
        SetClassIcon(sdlWindow_, window);
        SDL_RendererInfo info{};
        vsync_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
        SDL_DisplayMode mode{};
        refreshHz_ = SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(sdlWindow_), &mode) == 0 && mode.refresh_rate > 0
                         ? mode.refresh_rate
                         : kFallbackRefreshHz;
        windowed_ = windowed;
        window_ = window;
        return true;
    }

    bool SetMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel, std::string& error) override {
        if (!renderer_) {
            error = "the display is not open";
            return false;
        }
        if (bitsPerPixel != 32) {
            error = "the SDL display shows 32-bit modes only";
            return false;
        }
        if (!MakeTexture(width, height, error)) return false;
        SDL_RenderSetLogicalSize(renderer_, int(width), int(height));
        if (windowed_) SDL_SetWindowSize(sdlWindow_, int(width), int(height));
        return true;
    }

    void Close() override {
        if (!videoStarted_) return;
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (sdlWindow_) SDL_DestroyWindow(sdlWindow_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
        texture_ = nullptr;
        renderer_ = nullptr;
        sdlWindow_ = nullptr;
        window_ = nullptr;
    }

    void Present(const Frame& frame, bool waitForRefresh) override {
        if (!renderer_ || !frame.pixels || frame.pitch < frame.width) return;
        std::string ignored;
        if ((frame.width != textureWidth_ || frame.height != textureHeight_) &&
            !MakeTexture(frame.width, frame.height, ignored)) {
            return;
        }
        KeepFrame(frame);
        SDL_UpdateTexture(texture_, nullptr, frame.pixels, int(frame.pitch * 4));
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        if (waitForRefresh && !vsync_) pacer_.Wait(refreshHz_);
        SDL_RenderPresent(renderer_);
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

    bool ShowMessageBox(const char* text, const char* caption, UINT type) override {
        std::string ignored;
        if (!DisplayReachable(ignored)) return false;
        return SDL_ShowSimpleMessageBox(MessageBoxFlags(type), caption, text, nullptr) == 0;
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
    bool MakeTexture(uint32_t width, uint32_t height, std::string& error) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, int(width),
                                     int(height));
        textureWidth_ = texture_ ? width : 0;
        textureHeight_ = texture_ ? height : 0;
        if (!texture_) error = std::string("cannot make the picture's texture (") + SDL_GetError() + ")";
        return texture_ != nullptr;
    }

    // The copy Print Screen saves; same-sized frames reuse its memory.
    void KeepFrame(const Frame& frame) {
        shown_.resize(std::size_t{frame.width} * frame.height);
        for (uint32_t y = 0; y < frame.height; ++y) {
            std::memcpy(&shown_[std::size_t{y} * frame.width], frame.pixels + y * frame.pitch, frame.width * 4);
        }
        shownWidth_ = frame.width;
        shownHeight_ = frame.height;
    }

    void Handle(const SDL_Event& event) {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            user::InvalidateWindow(window_);
            return;
        }
        const bool isKey = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
        if (isKey && event.key.keysym.scancode == SDL_SCANCODE_PRINTSCREEN) {
            if (event.type == SDL_KEYDOWN && !event.key.repeat) SaveScreenshot({shown_.data(), shownWidth_, shownWidth_, shownHeight_});
            return;
        }
        TranslateEvent(event, [this](UINT message, WPARAM wParam, LPARAM lParam) {
            user::PostInputMessage(window_, message, wParam, lParam);
        });
    }

    HWND window_ = nullptr;
    bool videoStarted_ = false;
    SDL_Window* sdlWindow_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    uint32_t textureWidth_ = 0, textureHeight_ = 0;
    bool windowed_ = false;
    bool vsync_ = false;
    int refreshHz_ = kFallbackRefreshHz;
    FramePacer pacer_;
    std::vector<uint32_t> shown_;
    uint32_t shownWidth_ = 0, shownHeight_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend(std::string&) { return std::make_unique<SdlBackend>(); }

}  // namespace qv::display
