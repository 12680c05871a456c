// LoadIconA and LoadCursorA.

#include "user/resources.h"

#include "user/call.h"
#include "user/input.h"
#include "user/names.h"

#include <string>

namespace qv::user {
namespace {

constexpr uintptr_t kIconBase = 0x5200000;
constexpr uintptr_t kSystemBase = 0x5300000;
constexpr WORD kSystemArrow = 32512;
constexpr WORD kSystemApplication = 32512 + 0x100;  // its own handle, though its id equals IDC_ARROW's

std::string ResourceText(LPCSTR name, const char* systemName) {
    if (!IS_INTRESOURCE(name)) return control::Text(name);
    if (systemName) return systemName;
    return "MAKEINTRESOURCEA(" + std::to_string(reinterpret_cast<uintptr_t>(name)) + ")";
}

// The integer id of a resource name, or 0 for a string name.
WORD ResourceId(LPCSTR name) {
    return IS_INTRESOURCE(name) ? static_cast<WORD>(reinterpret_cast<uintptr_t>(name)) : 0;
}

// The program's icon resource with this id, or null.
const ModuleResource* FindIcon(WORD id) {
    for (std::size_t i = 0; i < kModuleResourceCount; ++i) {
        const ModuleResource& resource = kModuleResources[i];
        if (resource.type == kIconResource && resource.id == id) return &resource;
    }
    return nullptr;
}

HICON ProgramIcon(WORD id) { return reinterpret_cast<HICON>(kIconBase + id); }

}  // namespace

HCURSOR SystemArrowCursor() { return reinterpret_cast<HCURSOR>(kSystemBase + kSystemArrow); }
HICON SystemApplicationIcon() { return reinterpret_cast<HICON>(kSystemBase + kSystemApplication); }

const ModuleResource* IconResource(HICON icon) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(icon);
    if (value <= kIconBase || value - kIconBase > 0xFFFF) return nullptr;
    return FindIcon(static_cast<WORD>(value - kIconBase));
}

}  // namespace qv::user

using namespace qv;

extern "C" HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR iconName) {
    WORD id = user::ResourceId(iconName);
    bool systemIcon = !instance && id == user::kSystemArrow;
    return user::Call<HICON>(
        "LoadIconA", nullptr,
        [&]() -> user::Outcome<HICON> {
            if (systemIcon) return {user::SystemApplicationIcon()};
            if (!instance) return {nullptr, "no such system icon"};
            if (!user::FindIcon(id)) return {nullptr, "the program has no such icon resource"};
            return {user::ProgramIcon(id)};
        },
        [&](control::CallTrace& trace) {
            trace.Arg(user::InstanceText(instance)).Arg(user::ResourceText(iconName, systemIcon ? "IDI_APPLICATION" : nullptr));
        },
        user::IconText);
}

extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    bool arrow = !instance && user::ResourceId(cursorName) == user::kSystemArrow;
    return user::Call<HCURSOR>(
        "LoadCursorA", nullptr,
        [&]() -> user::Outcome<HCURSOR> {
            if (arrow) return {user::SystemArrowCursor()};
            return {nullptr, instance ? "the program has no cursor resources" : "no such system cursor"};
        },
        [&](control::CallTrace& trace) {
            trace.Arg(user::InstanceText(instance)).Arg(user::ResourceText(cursorName, arrow ? "IDC_ARROW" : nullptr));
        },
        user::IconText);
}
