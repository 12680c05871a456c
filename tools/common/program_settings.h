// The program's QUORVANE_* settings, which the tools do not read: a tool
// takes its options instead, so a setting left in its environment would do
// nothing and is refused.
#pragma once

#include <string>

namespace qv::tools {

// False when one of the program's settings is set, naming it and the tool in
// error.
bool RefuseProgramSettings(const char* tool, std::string& error);

}  // namespace qv::tools
