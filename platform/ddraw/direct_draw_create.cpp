// DirectDrawCreate: the one entry into the display driver.

#include "ddraw/direct_draw.h"

namespace qv::ddraw {
namespace {

Outcome Create(GUID* driverGuid, LPDIRECTDRAW* directDraw, IUnknown* outer, std::string& created) {
    if (!directDraw) return Refuse(DDERR_INVALIDPARAMS, "no place for the DirectDraw object");
    if (outer) return Refuse(CLASS_E_NOAGGREGATION, "DirectDraw cannot be aggregated");
    // Not read: special values such as DDCREATE_EMULATIONONLY are no addresses.
    if (driverGuid) return Refuse(DDERR_INVALIDDIRECTDRAWGUID, "only the default display driver is offered");
    DirectDraw* made = Make<DirectDraw>();
    if (!made) return Refuse(DDERR_OUTOFMEMORY, "no memory for DirectDraw");
    *directDraw = made;
    created = made->Label();
    return Ok();
}

}  // namespace
}  // namespace qv::ddraw

extern "C" HRESULT WINAPI DirectDrawCreate(GUID* driverGuid, LPDIRECTDRAW* directDraw, IUnknown* outer) {
    using namespace qv::ddraw;
    if (directDraw) *directDraw = nullptr;  // also when the call fails
    std::string created;
    return RunCall(
        "DirectDrawCreate", [&] { return Create(driverGuid, directDraw, outer, created); },
        [&](qv::control::CallTrace& trace) {
            trace.Arg(driverGuid ? "driver GUID" : "NULL").Arg(OutText(directDraw, created)).Arg(outer ? "outer" : "NULL");
        });
}
