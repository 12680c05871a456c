// Builds the trace line of one platform call:
//   Interface::Method(arg, arg, ...) -> RESULT[: why it was refused]
// Arguments are formatted by the caller; floats with Float() so that each
// reads back as the same single-precision value.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qv::control {

// Shortest decimal text that reads back as the same float ("0.1", "2.6666667").
std::string Float(float value);

class CallTrace {
public:
    explicit CallTrace(std::string_view call);
    CallTrace& Arg(std::string_view text);
    CallTrace& Arg(long long value);
    CallTrace& Hex(unsigned long long value);  // 0x...
    // Ends the line with the result's name and, for a refusal, the reason.
    void Result(std::string_view resultName, std::string_view why = {});

private:
    std::string line_;
    bool first_ = true;
    bool enabled_;
};

}  // namespace qv::control
