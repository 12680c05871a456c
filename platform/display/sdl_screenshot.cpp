#include "display/sdl_screenshot.h"

#include "display/png_writer.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

namespace qv::display {
namespace {

std::string FreeName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = std::string("quorvane-") + stamp + ".png";
    std::error_code ignored;
    for (int n = 2; std::filesystem::exists(name, ignored); ++n) {
        name = std::string("quorvane-") + stamp + "-" + std::to_string(n) + ".png";
    }
    return name;
}

}  // namespace

void SaveScreenshot(const Frame& frame) {
    std::error_code ignored;
    const std::string path = std::filesystem::absolute(FreeName(), ignored).string();
    std::string error;
    if (WritePng(path, frame, error)) {
        std::printf("quorvane: saved the screen as %s\n", path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "quorvane: could not save the screen: %s\n", error.c_str());
    }
}

}  // namespace qv::display
