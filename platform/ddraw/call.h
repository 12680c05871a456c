// How every platform call of the stand-in runs: an injected fault takes the
// place of the operation when one is due, and the call leaves one trace line
// with its arguments, its result and, for a refusal, the reason.
#pragma once

#include "control/control.h"
#include "control/trace.h"

#include <windows.h>
#include <ddraw.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::ddraw {

struct Outcome {
    HRESULT code = S_OK;
    std::string why;
};

inline Outcome Ok() { return {}; }
inline Outcome Refuse(HRESULT code, std::string why) { return {code, std::move(why)}; }
// A record whose dwSize is not its type's size.
inline Outcome RefuseRecordSize(const char* record, std::size_t size) {
    return Refuse(DDERR_INVALIDPARAMS, std::string(record) + " size is not " + std::to_string(size));
}

// The published name of a result code (DD_OK or D3D_OK after the call's
// interface), or its hex value when it has none.
std::string ResultName(HRESULT code, std::string_view call);

// operation() -> Outcome runs unless a fault is injected into the call;
// arguments(CallTrace&) adds the arguments to the trace line, after the
// operation so that it can name what the call created.
template <class Operation, class Arguments>
HRESULT RunCall(std::string_view call, HRESULT faultCode, Operation&& operation, Arguments&& arguments) {
    HRESULT fault = control::TakeFault(call, faultCode);
    Outcome outcome = fault != S_OK ? Outcome{fault, "injected fault"} : operation();
    if (control::Tracing()) {
        control::CallTrace trace(call);
        arguments(trace);
        trace.Result(ResultName(outcome.code, call), outcome.why);
    }
    return outcome.code;
}

}  // namespace qv::ddraw
