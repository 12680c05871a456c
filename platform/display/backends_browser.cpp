#include "display/backends.h"

#include "display/browser_backend.h"

namespace qv::display {

std::span<const BackendFactory> Backends() {
    static constexpr BackendFactory kBackends[] = {
        {"headless", MakeHeadlessBackend},
        {"browser", MakeBrowserBackend},
    };
    return kBackends;
}

}  // namespace qv::display
