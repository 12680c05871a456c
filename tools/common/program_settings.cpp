#include "program_settings.h"

#include <cstdlib>

namespace qv::tools {

bool RefuseProgramSettings(const char* tool, std::string& error) {
    // As the program's own --help lists them.
    for (const char* name : {"QUORVANE_DISPLAY", "QUORVANE_WINDOWED", "QUORVANE_PRESENT", "QUORVANE_MODES",
                             "QUORVANE_FAIL", "QUORVANE_TRACE", "QUORVANE_FRAMES", "QUORVANE_CLOCK",
                             "QUORVANE_CAPTURE", "QUORVANE_THREADS"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            error = std::string(name) + " is a setting of the program, which " + tool +
                    " does not read (its options take the place of such settings); unset it";
            return false;
        }
    }
    return true;
}

}  // namespace qv::tools
