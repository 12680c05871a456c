// How every platform call of the stand-in runs, in the DirectDraw layer and
// the window layer alike:
//   1. an injected fault that is due takes the place of the whole call,
//      before any argument is looked at: the call returns its failure;
//   2. otherwise the operation runs and gives the result and, for a
//      refusal, the reason;
//   3. the call leaves one trace line: its name, its arguments (formatted
//      after the operation, so that they can name what the call made), its
//      result and the reason.
// The operations and their default failures are listed in operations.h.
#pragma once

#include "control/control.h"
#include "control/trace.h"

#include <string>
#include <utility>

namespace qv::control {

template <class Result>
struct Outcome {
    Outcome(Result result, std::string why = {}) : result(result), why(std::move(why)) {}
    Result result;
    std::string why;  // empty unless the call refused
};

// failed(code) is the call's result for an injected fault with that code;
// operation() -> Outcome<Result>; arguments(CallTrace&) adds the arguments;
// resultText(result) names the result on the trace.
template <class Result, class Failed, class Run, class Arguments, class ResultText>
Result RunCall(OperationId call, Failed&& failed, Run&& operation, Arguments&& arguments, ResultText&& resultText) {
    HRESULT fault = TakeFault(call);
    Outcome<Result> outcome = fault != S_OK ? Outcome<Result>{failed(fault), "injected fault"} : operation();
    if (Tracing()) {
        CallTrace trace(call);
        arguments(trace);
        trace.Result(resultText(outcome.result), outcome.why);
    }
    return outcome.result;
}

}  // namespace qv::control
