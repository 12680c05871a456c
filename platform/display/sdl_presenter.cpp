#include "display/sdl_presenter.h"

#include <cstdlib>
#include <cstring>

namespace qv::display {

bool PresentSetting(PresentPath& path, std::string& error) {
    const char* value = std::getenv("QUORVANE_PRESENT");
    if (!value || !*value) {
        path = PresentPath::kChoose;
    } else if (std::strcmp(value, "gpu") == 0) {
        path = PresentPath::kGpu;
    } else if (std::strcmp(value, "copy") == 0) {
        path = PresentPath::kCopy;
    } else {
        error = std::string("QUORVANE_PRESENT is '") + value +
                "'; it must be gpu (the accelerated renderer) or copy (a direct copy to the window)";
        return false;
    }
    return true;
}

std::unique_ptr<Presenter> MakePresenter(SDL_Window* window, PresentPath path, std::string& error) {
    std::unique_ptr<Presenter> presenter;
    std::string reason;
    switch (path) {
        case PresentPath::kGpu:
            presenter = MakeGpuPresenter(window, true, reason);
            if (!presenter) error = "QUORVANE_PRESENT=gpu: " + reason;
            return presenter;
        case PresentPath::kCopy:
            presenter = MakeCopyPresenter(window, reason);
            if (!presenter) error = "QUORVANE_PRESENT=copy: " + reason;
            return presenter;
        case PresentPath::kChoose:
            break;
    }
    if ((presenter = MakeGpuPresenter(window, false, reason))) return presenter;
    if ((presenter = MakeCopyPresenter(window, reason))) return presenter;
    presenter = MakeGpuPresenter(window, true, reason);
    if (!presenter) error = "cannot show pictures in the window (" + reason + ")";
    return presenter;
}

}  // namespace qv::display
