// The settings of ddraw.dll and its exported DirectDrawCreate. The DLL
// carries the DirectDraw and Direct3D objects alone: faults are accepted
// for those; the window system's calls and the program's own allocation do
// not pass through it, and the SDL display's settings mean nothing here.

#include "win32/start.h"

#include "control/control.h"
#include "win32/clock.h"

#include <ddraw.h>


namespace qv::win32 {
namespace {

std::string startError;
bool windowed = false;

bool CarriedHere(std::string_view operation) {
    return operation == "DirectDrawCreate" || operation.substr(0, 7) == "IDirect";
}

bool ReadDllSettings(std::string& error) {
    for (const char* foreign : {"QUORVANE_DISPLAY", "QUORVANE_PRESENT"}) {
        if (control::EnvironmentValue(foreign)) {
            error = std::string(foreign) + ": ddraw.dll shows the frames in the program's own window; unset it";
            return false;
        }
    }
    return control::WindowedSetting(windowed, error);
}

}  // namespace

void Start() {
    control::CarryOnly(CarriedHere);
    std::string error;
    if (!ReadDllSettings(error) || !control::ApplyEnvironment(error)) {
        startError = error;
        return;
    }
    if (control::Clock() && FixClock(*control::Clock()) == 0)
        startError = "QUORVANE_CLOCK: the program does not read the C runtime's clock through its imports";
}

bool Windowed() { return windowed; }

std::string Finish() {
    std::string error, all;
    for (bool (*end)(std::string&) : {control::EndTrace, control::EndCapture}) {
        if (!end(error)) all += (all.empty() ? "" : "; ") + error;
    }
    return all;
}

}  // namespace qv::win32

// Exported as DirectDrawCreate (ddraw.def.in).
extern "C" HRESULT WINAPI QuorvaneDirectDrawCreate(GUID* driverGuid, LPDIRECTDRAW* directDraw, IUnknown* outer) {
    if (!qv::win32::startError.empty()) qv::win32::RefuseSettings(qv::win32::startError);
    return DirectDrawCreate(driverGuid, directDraw, outer);
}
