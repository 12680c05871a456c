// Icons and cursors. The program's icons come from its resource table,
// which its build compiles from its resource script and links with it. Each
// handle stands for one resource and is the same on every load: a program
// icon is kIconBase + its resource id, the system's arrow cursor and
// application icon have fixed handles of their own.
#pragma once

#include <windows.h>

#include <cstddef>

namespace qv::user {

// One resource of the program, as its resource script names it. An icon
// resource holds the whole icon file: its directory and every image.
struct ModuleResource {
    WORD type;
    WORD id;
    const unsigned char* bytes;
    std::size_t size;
};
constexpr WORD kIconResource = 14;  // the platform's number for an icon group (RT_GROUP_ICON)

// The program's resource table, provided by the program's build.
extern const ModuleResource kModuleResources[];
extern const std::size_t kModuleResourceCount;

HCURSOR SystemArrowCursor();
HICON SystemApplicationIcon();

}  // namespace qv::user
