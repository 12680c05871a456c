// The devices the DirectDraw object's IDirect3D2 offers: the HAL device alone.

#include "ddraw/device_caps.h"
#include "ddraw/direct_draw.h"

#include <cstring>

namespace qv::ddraw {
namespace {

// A device description of each published size, then the search result that
// holds two of them.
constexpr DWORD kResultHeaderSize = offsetof(D3DFINDDEVICERESULT, ddHwDesc);

DWORD DescSizeInResult(DWORD resultSize) {
    if (resultSize < kResultHeaderSize || (resultSize - kResultHeaderSize) % 2) return 0;
    DWORD descSize = (resultSize - kResultHeaderSize) / 2;
    return DeviceDescSizeKnown(descSize) ? descSize : 0;
}

}  // namespace

HRESULT DirectDraw::EnumDevices(LPD3DENUMDEVICESCALLBACK callback, LPVOID context) {
    return Call(
        "IDirect3D2::EnumDevices",
        [&] {
            if (!callback) return Refuse(DDERR_INVALIDPARAMS, "no callback");
            GUID guid = IID_IDirect3DHALDevice;
            char description[] = "Quorvane HAL device";
            char name[] = "Direct3D HAL";
            D3DDEVICEDESC hardware, software;
            DescribeHardware(&hardware, sizeof hardware);
            DescribeSoftware(&software, sizeof software);
            callback(&guid, description, name, &hardware, &software, context);
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(callback ? "callback" : "NULL").Arg(context ? "context" : "NULL");
        });
}

HRESULT DirectDraw::FindDevice(LPD3DFINDDEVICESEARCH search, LPD3DFINDDEVICERESULT result) {
    return Call(
        "IDirect3D2::FindDevice", [&] { return SearchDevices(search, result); },
        [&](control::CallTrace& trace) { trace.Arg(search ? "search" : "NULL").Arg(result ? "result" : "NULL"); });
}

Outcome DirectDraw::SearchDevices(LPD3DFINDDEVICESEARCH search, LPD3DFINDDEVICERESULT result) {
    if (!search || !result) return Refuse(DDERR_INVALIDPARAMS, "no search or no place for the result");
    if (search->dwSize != sizeof(D3DFINDDEVICESEARCH))
        return RefuseRecordSize("search record", sizeof(D3DFINDDEVICESEARCH));
    const DWORD descSize = DescSizeInResult(result->dwSize);
    if (!descSize) return Refuse(DDERR_INVALIDPARAMS, "result record size is not a published one");
    if (!Matches(*search)) return Refuse(DDERR_NOTFOUND, "the HAL device does not offer what the search asks for");
    result->guid = IID_IDirect3DHALDevice;
    auto* descriptions = reinterpret_cast<BYTE*>(result) + kResultHeaderSize;
    DescribeHardware(reinterpret_cast<LPD3DDEVICEDESC>(descriptions), descSize);
    DescribeSoftware(reinterpret_cast<LPD3DDEVICEDESC>(descriptions + descSize), descSize);
    return Ok();
}

}  // namespace qv::ddraw
