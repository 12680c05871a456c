// The call trace: where its lines go, and how one line is put together.

#include "control/trace.h"

#include "control/control.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace qv::control {
namespace {

std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

// The trace file: each line is flushed so that a run that ends abruptly
// keeps its trace. After the first failed write the rest is dropped and the
// failure waits for EndTrace.
class TraceOutput {
public:
    TraceOutput(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
    ~TraceOutput() {
        if (file_) std::fclose(file_);
    }
    TraceOutput(const TraceOutput&) = delete;
    TraceOutput& operator=(const TraceOutput&) = delete;

    void Write(const std::string& line) {
        if (failure_) return;
        if (std::fputs(line.c_str(), file_) < 0 || std::fputc('\n', file_) == EOF || std::fflush(file_) != 0)
            failure_ = errno ? errno : EIO;
    }

    bool Close(std::string& error) {
        const int closed = std::fclose(file_) == 0 ? 0 : errno ? errno : EIO;
        file_ = nullptr;
        if (!failure_) failure_ = closed;
        if (failure_) error = "cannot write the trace file '" + path_ + "': " + std::strerror(failure_);
        return !failure_;
    }

private:
    std::FILE* file_;
    std::string path_;
    int failure_ = 0;
};

std::shared_ptr<TraceOutput>& Output() {
    static std::shared_ptr<TraceOutput> output;
    return output;
}

}  // namespace

void SetTraceSink(std::function<void(const std::string& line)> sink) {
    Sink() = std::move(sink);
    Output().reset();
}

bool TraceFile(const std::string& path, std::string& error) {
    // Binary: the same bytes, one LF per line, on every system.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot open the trace file '" + path + "' for writing: " + std::strerror(errno);
        return false;
    }
    auto output = std::make_shared<TraceOutput>(file, path);
    SetTraceSink([output](const std::string& line) { output->Write(line); });
    Output() = std::move(output);
    return true;
}

bool EndTrace(std::string& error) {
    std::shared_ptr<TraceOutput> output = std::move(Output());
    Sink() = nullptr;
    return !output || output->Close(error);
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
