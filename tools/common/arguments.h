// The tools' command lines: options "--name value" or "--name=value", flags
// "--name", and operands.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace qv::tools {

// One item of a command line: an option with its value (empty for a flag),
// or an operand, whose name is empty.
struct Argument {
    std::string name;
    std::string value;
};

// Splits argv into arguments. Names in valued take a value, names in flags
// take none. On an unknown option, a missing value or a flag given a value
// returns nullopt and says why in error.
std::optional<std::vector<Argument>> ReadArguments(int argc, char** argv, std::initializer_list<const char*> valued,
                                                   std::initializer_list<const char*> flags, std::string& error);

// The argument's value as a whole decimal number from low to high; else
// false and says why in error.
bool ReadNumber(const Argument& argument, uint64_t low, uint64_t high, uint64_t& number, std::string& error);

}  // namespace qv::tools
