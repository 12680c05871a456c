#include "offscreen_gl.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <EGL/eglext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv::glref {
namespace {

std::string EglFailure(const char* call) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04X)", call, static_cast<unsigned>(eglGetError()));
    return text;
}

bool HasExtension(const char* list, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = list; at && (at = std::strstr(at, name)) != nullptr; at += length)
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}

}  // namespace

bool OffscreenGl::Open(uint32_t width, uint32_t height, std::string& error) {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    setenv("GALLIUM_DRIVER", "llvmpipe", 0);
    if (!HasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless")) {
        error = "EGL offers no surfaceless platform (Mesa's EGL driver, libegl-mesa0, is needed)";
        return false;
    }
    display_ = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display_ == EGL_NO_DISPLAY) {
        error = EglFailure("eglGetPlatformDisplay");
        return false;
    }
    if (!eglInitialize(display_, nullptr, nullptr)) {
        error = EglFailure("eglInitialize");
        return false;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglBindAPI(EGL_OPENGL_API) || !eglChooseConfig(display_, configAttributes, &config, 1, &configs) ||
        configs < 1) {
        error = "EGL offers no desktop OpenGL configuration";
        return false;
    }
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, nullptr);
    if (context_ == EGL_NO_CONTEXT) {
        error = EglFailure("eglCreateContext");
        return false;
    }
    if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_)) {
        error = EglFailure("eglMakeCurrent without a surface");
        return false;
    }

    width_ = width;
    height_ = height;
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(2, renderbuffers_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32, static_cast<GLsizei>(width),
                          static_cast<GLsizei>(height));
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
    GLint depthBits = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE || depthBits != 32) {
        error = "the driver cannot draw into an RGBA8 framebuffer with a 32-bit depth buffer (" + Description() + ")";
        return false;
    }
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    return true;
}

OffscreenGl::~OffscreenGl() {
    if (display_ == EGL_NO_DISPLAY) return;
    if (context_ != EGL_NO_CONTEXT) {
        if (framebuffer_) {
            glDeleteFramebuffers(1, &framebuffer_);
            glDeleteRenderbuffers(2, renderbuffers_);
        }
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
    }
    eglTerminate(display_);
    eglReleaseThread();
}

std::string OffscreenGl::Description() const {
    auto text = [](GLenum name) {
        const GLubyte* value = glGetString(name);
        return value ? std::string(reinterpret_cast<const char*>(value)) : std::string("?");
    };
    return text(GL_RENDERER) + ", OpenGL " + text(GL_VERSION);
}

std::vector<uint32_t> OffscreenGl::ReadPixels() const {
    // GL's rows run from the bottom up; the picture's from the top down.
    std::vector<uint32_t> bottomUp(std::size_t{width_} * height_), topDown(bottomUp.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, bottomUp.data());
    for (uint32_t y = 0; y < height_; ++y) {
        const auto row = bottomUp.begin() + static_cast<std::ptrdiff_t>(std::size_t{height_ - 1 - y} * width_);
        std::transform(row, row + width_, topDown.begin() + static_cast<std::ptrdiff_t>(std::size_t{y} * width_),
                       [](uint32_t argb) { return argb & 0x00FFFFFFu; });
    }
    return topDown;
}

}  // namespace qv::glref
