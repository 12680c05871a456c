// The call trace: where its lines go, and how one line is put together.

#include "control/trace.h"

#include "control/control.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qv::control {
namespace {

std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

}  // namespace

void SetTraceSink(std::function<void(const std::string& line)> sink) { Sink() = std::move(sink); }

bool TraceFile(const std::string& path, std::string& error) {
    std::shared_ptr<std::FILE> file(std::fopen(path.c_str(), "w"), [](std::FILE* f) {
        if (f) std::fclose(f);
    });
    if (!file) {
        error = "cannot open trace file '" + path + "' for writing";
        return false;
    }
    // Each line is flushed so that a run that ends abruptly keeps its trace.
    SetTraceSink([file](const std::string& line) {
        std::fputs(line.c_str(), file.get());
        std::fputc('\n', file.get());
        std::fflush(file.get());
    });
    return true;
}

bool Tracing() { return static_cast<bool>(Sink()); }

void TraceLine(const std::string& line) {
    if (Sink()) Sink()(line);
}

std::string Float(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    return text;
}

std::string Text(const char* text) {
    if (!text) return "NULL";
    std::string quoted = "\"";
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\') {
            quoted += '\\';
            quoted += *c;
        } else if (static_cast<unsigned char>(*c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(*c));
            quoted += escape;
        } else {
            quoted += *c;
        }
    }
    return quoted + "\"";
}

std::string HexText(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", value);
    return text;
}

std::string Flags(unsigned long long value, std::initializer_list<NamedValue> names) {
    std::string text;
    for (const NamedValue& name : names) {
        if (name.value == 0 || (value & name.value) != name.value) continue;
        if (!text.empty()) text += '|';
        text += name.name;
        value &= ~name.value;
    }
    if (value != 0 || text.empty()) {
        if (!text.empty()) text += '|';
        text += value != 0 ? HexText(value) : "0";
    }
    return text;
}

std::string Enum(unsigned long long value, std::initializer_list<NamedValue> names) {
    for (const NamedValue& name : names) {
        if (name.value == value) return name.name;
    }
    return std::to_string(value);
}

CallTrace::CallTrace(OperationId call) : enabled_(Tracing()) {
    if (!enabled_) return;
    line_ = call->name;
    line_ += '(';
}

CallTrace& CallTrace::Arg(std::string_view text) {
    if (!enabled_) return *this;
    if (!first_) line_ += ", ";
    first_ = false;
    line_ += text;
    return *this;
}

CallTrace& CallTrace::Arg(long long value) {
    if (!enabled_) return *this;
    return Arg(std::to_string(value));
}

CallTrace& CallTrace::Hex(unsigned long long value) {
    if (!enabled_) return *this;
    return Arg(HexText(value));
}

void CallTrace::Result(std::string_view resultName, std::string_view why) {
    if (!enabled_) return;
    line_ += ") -> ";
    line_ += resultName;
    if (!why.empty()) {
        line_ += ": ";
        line_ += why;
    }
    TraceLine(line_);
}

}  // namespace qv::control
