// The registry of display back ends and the active one.

#include "display/display.h"

#include "control/control.h"
#include "display/backends.h"
#include "display/headless.h"
#include "user/input.h"

namespace qv::display {
namespace {

std::unique_ptr<Backend>& Installed() {
    static std::unique_ptr<Backend> backend;
    return backend;
}

}  // namespace

Backend& Active() {
    if (!Installed()) Installed() = std::make_unique<HeadlessBackend>();
    return *Installed();
}

void Install(std::unique_ptr<Backend> backend) { Installed() = std::move(backend); }

void PresentFlipped(const Frame& frame, bool waitForRefresh) {
    Active().Present(frame, waitForRefresh);
    if (control::CountFlippedFrame()) user::PostInputMessage(user::MainWindow(), WM_CLOSE, 0, 0);
}

bool InstallByName(const std::string& name, std::string& error) {
    std::string known;
    for (const BackendFactory& factory : Backends()) {
        if (name == factory.name) {
            std::unique_ptr<Backend> backend = factory.make(error);
            if (!backend) return false;
            Install(std::move(backend));
            return true;
        }
        known += known.empty() ? "" : ", ";
        known += factory.name;
    }
    error = "unknown display '" + name + "' (known: " + known + ")";
    return false;
}

}  // namespace qv::display
