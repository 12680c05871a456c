// The registry of display back ends and the active one.

#include "display/display.h"

#include "display/backends.h"
#include "display/headless.h"

namespace qv::display {
namespace {

std::unique_ptr<Backend>& Installed() {
    static std::unique_ptr<Backend> backend;
    return backend;
}

InputSink* connected = nullptr;

// Input that arrives before the window layer is connected goes nowhere.
class DroppingSink final : public InputSink {
public:
    void Post(HWND, UINT, WPARAM, LPARAM) override {}
    void Invalidate(HWND) override {}
    const char* Title(HWND) override { return ""; }
    const unsigned char* ClassIcon(HWND, std::size_t&) override { return nullptr; }
};

}  // namespace

InputSink& Backend::Input() const {
    static DroppingSink dropping;
    return input_ ? *input_ : dropping;
}

Backend& Active() {
    if (!Installed()) Install(std::make_unique<HeadlessBackend>());
    return *Installed();
}

void Install(std::unique_ptr<Backend> backend) {
    if (backend) backend->ConnectInput(connected);
    Installed() = std::move(backend);
}

void ConnectInput(InputSink* sink) {
    connected = sink;
    if (Installed()) Installed()->ConnectInput(sink);
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
