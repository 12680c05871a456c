#include "entry/launch.h"

#include <windows.h>

namespace qv::entry {

int RunWinMain(std::string commandLine) {
    static int instanceTag;
    return WinMain(reinterpret_cast<HINSTANCE>(&instanceTag), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}

}  // namespace qv::entry
