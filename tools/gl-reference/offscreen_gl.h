// An OpenGL context without a window: EGL's surfaceless platform on Mesa's
// software rasterizer, drawing into a framebuffer object with 8-bit RGBA
// colour and a 32-bit depth buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <EGL/egl.h>

namespace qv::glref {

class OffscreenGl {
public:
    OffscreenGl() = default;
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;
    ~OffscreenGl();

    // Makes a compatibility-profile context current with a width x height
    // framebuffer bound. Unless the environment says otherwise, Mesa is asked
    // for its software driver (LIBGL_ALWAYS_SOFTWARE, GALLIUM_DRIVER=llvmpipe).
    // On failure returns false and says why in error.
    bool Open(uint32_t width, uint32_t height, std::string& error);

    // The driver, as the context names it: renderer and version.
    std::string Description() const;

    // The framebuffer as 32-bit XRGB, row 0 at the top.
    std::vector<uint32_t> ReadPixels() const;

private:
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
    uint32_t width_ = 0, height_ = 0;
    unsigned framebuffer_ = 0, renderbuffers_[2] = {0, 0};
};

}  // namespace qv::glref
