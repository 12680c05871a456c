// A window-layer call: the platform's one way of running a call
// (control/call.h), where an injected fault makes the call return its
// failure value (FALSE, NULL, 0 or -1, as operations.h lists it).
#pragma once

#include "control/call.h"

namespace qv::user {

template <class Result>
using Outcome = control::Outcome<Result>;

// operation() -> Outcome<Result>; arguments(CallTrace&) adds the arguments;
// resultText(Result) names the result on the trace.
template <class Result, class Operation, class Arguments, class ResultText>
Result Call(control::OperationId call, Result failure, Operation&& operation, Arguments&& arguments,
            ResultText&& resultText) {
    return control::RunCall<Result>(
        call, [&](HRESULT) { return failure; }, operation, arguments, resultText);
}

}  // namespace qv::user
