// A DirectDraw or Direct3D call: the platform's one way of running a call
// (control/call.h) with an HRESULT as the result.
#pragma once

#include "control/call.h"

#include <windows.h>
#include <ddraw.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::ddraw {

using Outcome = control::Outcome<HRESULT>;

inline Outcome Ok() { return {S_OK, {}}; }
inline Outcome Refuse(HRESULT code, std::string why) { return {code, std::move(why)}; }
// A record whose dwSize is not its type's size.
inline Outcome RefuseRecordSize(const char* record, std::size_t size) {
    return Refuse(DDERR_INVALIDPARAMS, std::string(record) + " size is not " + std::to_string(size));
}
// A record the caller passes: present, and its dwSize its type's size.
template <class Record>
Outcome CheckCallerRecord(const Record* record, const char* what) {
    if (!record) return Refuse(DDERR_INVALIDPARAMS, std::string("no ") + what);
    if (record->dwSize != sizeof(Record)) return RefuseRecordSize(what, sizeof(Record));
    return Ok();
}

// The published name of a result code (DD_OK or D3D_OK after the call's
// interface), or its hex value when it has none.
std::string ResultName(HRESULT code, std::string_view call);

// operation() -> Outcome runs unless a fault is injected into the call;
// arguments(CallTrace&) adds the arguments to the trace line.
template <class Operation, class Arguments>
HRESULT RunCall(control::OperationId call, Operation&& operation, Arguments&& arguments) {
    return control::RunCall<HRESULT>(
        call, [](HRESULT fault) { return fault; }, operation, arguments,
        [&](HRESULT code) { return ResultName(code, call->name); });
}

}  // namespace qv::ddraw
