// Presenting by copying into the window's own pixels (SDL's window surface,
// shared memory with the X server where it offers it): the frame is scaled
// on the processor to the nearest pixel, which costs about one write per
// screen pixel the frame changes, and no OpenGL is involved. There is no
// vertical sync on this path; the back end paces it.

#include "display/letterbox.h"
#include "display/sdl_presenter.h"

#include <vector>

namespace qv::display {
namespace {

// The frame's own layout: 32 bits, x R G B, no alpha a compositor would read.
bool HoldsXrgb(const SDL_Surface* surface) {
    const SDL_PixelFormat* format = surface->format;
    return format->BytesPerPixel == 4 && format->Rmask == 0xFF0000 && format->Gmask == 0xFF00 &&
           format->Bmask == 0xFF && format->Amask == 0;
}

class CopyPresenter final : public Presenter {
public:
    explicit CopyPresenter(SDL_Window* window) : window_(window) {}

    bool SetSize(uint32_t, uint32_t, std::string&) override { return true; }

    void Show(const Frame& frame) override {
        // The window's surface is made anew after the window changes size.
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (!surface || !HoldsXrgb(surface)) return;
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
        scaler_.Draw(frame, Screen{static_cast<uint32_t*>(surface->pixels), std::size_t(surface->pitch) / 4,
                                   uint32_t(surface->w), uint32_t(surface->h)});
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        // Only what was written goes to the display.
        rects_.clear();
        for (const ScreenRect& r : scaler_.Written())
            rects_.push_back({int(r.x), int(r.y), int(r.width), int(r.height)});
        if (!rects_.empty()) SDL_UpdateWindowSurfaceRects(window_, rects_.data(), int(rects_.size()));
    }

    void Invalidate() override { scaler_.Invalidate(); }

    bool WaitsForRefresh() const override { return false; }

private:
    SDL_Window* window_;
    LetterboxScaler scaler_;
    std::vector<SDL_Rect> rects_;  // its capacity kept from frame to frame
};

}  // namespace

std::unique_ptr<Presenter> MakeCopyPresenter(SDL_Window* window, std::string& error) {
    // Left to itself SDL may back the window surface with an accelerated
    // renderer, which is what this path avoids.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface) {
        error = std::string("the window has no pixels of its own (") + SDL_GetError() + ")";
        return nullptr;
    }
    if (!HoldsXrgb(surface)) {
        error = std::string("the window's pixels are ") + SDL_GetPixelFormatName(surface->format->format) +
                ", not 32-bit xRGB";
        return nullptr;
    }
    return std::make_unique<CopyPresenter>(window);
}

}  // namespace qv::display
