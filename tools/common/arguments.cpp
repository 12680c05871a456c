#include "arguments.h"

#include <charconv>

namespace qv::tools {
namespace {

bool Listed(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* listed : names)
        if (name == listed) return true;
    return false;
}

}  // namespace

std::optional<std::vector<Argument>> ReadArguments(int argc, char** argv, std::initializer_list<const char*> valued,
                                                   std::initializer_list<const char*> flags, std::string& error) {
    std::vector<Argument> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string text = argv[i];
        if (text.size() < 2 || text[0] != '-') {
            arguments.push_back({"", text});
            continue;
        }
        const std::size_t equals = text.find('=');
        Argument argument{text.substr(0, equals), equals == std::string::npos ? "" : text.substr(equals + 1)};
        if (Listed(argument.name, valued)) {
            if (equals == std::string::npos) {
                if (i + 1 >= argc) {
                    error = "option " + argument.name + " needs a value (see --help)";
                    return std::nullopt;
                }
                argument.value = argv[++i];
            }
        } else if (Listed(argument.name, flags)) {
            if (equals != std::string::npos) {
                error = "option " + argument.name + " takes no value (see --help)";
                return std::nullopt;
            }
        } else {
            error = "unknown option " + argument.name + " (see --help)";
            return std::nullopt;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

bool ReadNumber(const Argument& argument, uint64_t low, uint64_t high, uint64_t& number, std::string& error) {
    const char* text = argument.value.c_str();
    const char* end = text + argument.value.size();
    uint64_t value = 0;
    const auto [last, status] = std::from_chars(text, end, value);
    if (status != std::errc() || last != end || last == text || value < low || value > high) {
        error = argument.name + ": '" + argument.value + "' is not a whole number from " + std::to_string(low) +
                " to " + std::to_string(high);
        return false;
    }
    number = value;
    return true;
}

}  // namespace qv::tools
