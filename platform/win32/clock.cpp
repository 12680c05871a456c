// QUORVANE_CLOCK for a program built against the real platform: its calls of
// the C runtime's clock (msvcrt's _time64, _time32 or time, whichever its
// import table names) are pointed at one that reads the fixed seconds. The
// program's own import table is patched as the DLL loads, before the
// program's code runs.

#include "win32/clock.h"

#include <windows.h>

#include <cstring>

namespace qv::win32 {
namespace {

int64_t fixedSeconds = 0;

int64_t __cdecl FixedTime64(int64_t* out) {
    if (out) *out = fixedSeconds;
    return fixedSeconds;
}

int32_t __cdecl FixedTime32(int32_t* out) {
    const int32_t seconds = static_cast<int32_t>(fixedSeconds);
    if (out) *out = seconds;
    return seconds;
}

// The replacement for a runtime function name, or null.
void* Replacement(const char* name) {
    if (std::strcmp(name, "_time64") == 0) return reinterpret_cast<void*>(FixedTime64);
    if (std::strcmp(name, "_time32") == 0) return reinterpret_cast<void*>(FixedTime32);
    // The runtime's plain time is 64-bit on 64-bit Windows, 32-bit on 32-bit.
    if (std::strcmp(name, "time") == 0)
        return sizeof(void*) == 8 ? reinterpret_cast<void*>(FixedTime64) : reinterpret_cast<void*>(FixedTime32);
    return nullptr;
}

// Points one import slot at the function; false when the slot cannot be made
// writable (the clock then stays the runtime's, and is not counted as fixed).
bool Patch(IMAGE_THUNK_DATA* slot, void* function) {
    DWORD was = 0;
    if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &was)) return false;
    slot->u1.Function = reinterpret_cast<ULONG_PTR>(function);
    VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, was, &was);
    return true;
}

}  // namespace

int FixClock(int64_t seconds) {
    fixedSeconds = seconds;
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return 0;
    int patched = 0;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
        const char* dllName = reinterpret_cast<const char*>(base + dll->Name);
        if (_stricmp(dllName, "msvcrt.dll") != 0 && _strnicmp(dllName, "api-ms-win-crt-time", 19) != 0 &&
            _stricmp(dllName, "ucrtbase.dll") != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (dll->OriginalFirstThunk ? dll->OriginalFirstThunk
                                                                                          : dll->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (void* function = Replacement(reinterpret_cast<const char*>(byName->Name))) {
                if (Patch(slots, function)) ++patched;
            }
        }
    }
    return patched;
}

}  // namespace qv::win32
