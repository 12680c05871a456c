// Builds the trace line of one platform call:
//   Interface::Method(arg, arg, ...) -> RESULT[: why it was refused]
// Arguments are formatted by the caller; floats with Float() so that each
// reads back as the same single-precision value.
#pragma once

#include "control/operations.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace qv::control {

// Shortest decimal text that reads back as the same float ("0.1", "2.6666667").
std::string Float(float value);
// A C string in double quotes (quotes, backslashes and control characters
// escaped), or NULL.
std::string Text(const char* text);
// 0x followed by upper-case hex digits.
std::string HexText(unsigned long long value);

// A published constant's name and value, for Flags and Enum.
struct NamedValue {
    unsigned long long value;
    const char* name;
};
// The names of the flags set in value, joined by '|' (list combined names
// before their parts); bits without a name follow in hex; "0" when none.
std::string Flags(unsigned long long value, std::initializer_list<NamedValue> names);
// The name of the one value, or the decimal number when it has none.
std::string Enum(unsigned long long value, std::initializer_list<NamedValue> names);

class CallTrace {
public:
    explicit CallTrace(OperationId call);
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
