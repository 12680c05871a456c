#include "display/backends.h"

#include "display/sdl_backend.h"

namespace qv::display {

std::span<const BackendFactory> Backends() {
    static constexpr BackendFactory kBackends[] = {
        {"headless", MakeHeadlessBackend},
        {"sdl", MakeSdlBackend},
    };
    return kBackends;
}

}  // namespace qv::display
