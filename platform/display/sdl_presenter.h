// How finished frames reach the SDL window, scaled to fit with their shape
// kept (black bars). Two ways: SDL's accelerated renderer, which scales on
// the graphics card and waits for the refresh; or a direct copy into the
// window's own pixels, for machines whose only OpenGL is a software one
// (virtual machines, remote desktops, bare X servers), where the renderer
// would scale and read back every frame on the processor.
#pragma once

#include "display/display.h"

#include <SDL.h>

#include <memory>
#include <string>

namespace qv::display {

class Presenter {
public:
    virtual ~Presenter() = default;
    // Prepares for frames of this size; false says why in error.
    virtual bool SetSize(uint32_t width, uint32_t height, std::string& error) = 0;
    // Shows the frame in the whole window.
    virtual void Show(const Frame& frame) = 0;
    // The window lost what was shown in it (uncovered, resized): the next
    // Show draws all of it.
    virtual void Invalidate() = 0;
    // Whether Show itself waits for the display's refresh.
    virtual bool WaitsForRefresh() const = 0;
};

enum class PresentPath { kChoose, kGpu, kCopy };

// QUORVANE_PRESENT: gpu or copy; unset or empty lets the machine decide.
bool PresentSetting(PresentPath& path, std::string& error);

// The presenter for a window made without a renderer. kChoose takes the
// accelerated renderer unless its OpenGL draws in software, then the copy,
// and a software OpenGL only where the window has no pixels of its own.
// Null when the path asked for cannot be had, saying why in error.
std::unique_ptr<Presenter> MakePresenter(SDL_Window* window, PresentPath path, std::string& error);

// The two ways, made by MakePresenter. MakeGpuPresenter refuses a software
// OpenGL unless acceptSoftwareGl.
std::unique_ptr<Presenter> MakeGpuPresenter(SDL_Window* window, bool acceptSoftwareGl, std::string& error);
std::unique_ptr<Presenter> MakeCopyPresenter(SDL_Window* window, std::string& error);

}  // namespace qv::display
