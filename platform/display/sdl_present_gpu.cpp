// Presenting through SDL's accelerated renderer: the frame is uploaded to a
// texture and drawn at the renderer's full pixel size (high density screens
// included) with linear filtering, which stays smooth at the uneven ratios
// desktops usually give; the renderer's vertical sync paces it where offered.

#include "display/sdl_presenter.h"

#include <SDL_opengl.h>

#include <cstring>

namespace qv::display {
namespace {

// Mesa's drivers that draw on the processor.
bool SoftwareGl(const char* glRenderer) {
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"})
        if (std::strstr(glRenderer, name)) return true;
    return false;
}

// Whether the renderer just made draws on the processor: SDL's own software
// renderer, or an OpenGL one on a software driver (its context is current
// right after it is made).
bool DrawsInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || (info.flags & SDL_RENDERER_SOFTWARE)) return true;
    if (std::strncmp(info.name, "opengl", 6) != 0) return false;
    using GetString = const GLubyte*(APIENTRY*)(GLenum);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const GLubyte* name = getString ? getString(GL_RENDERER) : nullptr;
    return name && SoftwareGl(reinterpret_cast<const char*>(name));
}

class GpuPresenter final : public Presenter {
public:
    GpuPresenter(SDL_Renderer* renderer, bool vsync) : renderer_(renderer), vsync_(vsync) {}
    ~GpuPresenter() override {
        if (texture_) SDL_DestroyTexture(texture_);
        SDL_DestroyRenderer(renderer_);
    }

    bool SetSize(uint32_t width, uint32_t height, std::string& error) override {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, int(width),
                                     int(height));
        textureWidth_ = texture_ ? width : 0;
        textureHeight_ = texture_ ? height : 0;
        if (!texture_) {
            error = std::string("cannot make the picture's texture (") + SDL_GetError() + ")";
            return false;
        }
        SDL_RenderSetLogicalSize(renderer_, int(width), int(height));
        return true;
    }

    void Show(const Frame& frame) override {
        std::string ignored;
        if ((frame.width != textureWidth_ || frame.height != textureHeight_) &&
            !SetSize(frame.width, frame.height, ignored)) {
            return;
        }
        SDL_UpdateTexture(texture_, nullptr, frame.pixels, int(frame.pitch * 4));
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    // Every frame is drawn whole.
    void Invalidate() override {}

    bool WaitsForRefresh() const override { return vsync_; }

private:
    SDL_Renderer* renderer_;
    bool vsync_;
    SDL_Texture* texture_ = nullptr;
    uint32_t textureWidth_ = 0, textureHeight_ = 0;
};

}  // namespace

std::unique_ptr<Presenter> MakeGpuPresenter(SDL_Window* window, bool acceptSoftwareGl, std::string& error) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) {
        error = std::string("no accelerated renderer (") + SDL_GetError() + ")";
        return nullptr;
    }
    if (!acceptSoftwareGl && DrawsInSoftware(renderer)) {
        SDL_DestroyRenderer(renderer);
        error = "the accelerated renderer draws in software";
        return nullptr;
    }
    SDL_RendererInfo info{};
    const bool vsync = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
    return std::make_unique<GpuPresenter>(renderer, vsync);
}

}  // namespace qv::display
