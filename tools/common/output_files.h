// The tools' output files, checked before the work so that a bad path is
// reported at once rather than after the run.
#pragma once

#include <cstddef>
#include <string>

namespace qv::tools {

// Whether a file can be written at path: an existing file is left as it is,
// one created for the check is removed again. Else false and says why.
bool CheckWritable(const std::string& path, std::string& error);

// Creates the directory and its parents where missing; else false and says why.
bool MakeDirectory(const std::string& path, std::string& error);

// Writes size bytes to a new file at path, closing it; false and says why
// when any of it fails (a partial file may remain).
bool WriteFile(const std::string& path, const void* bytes, std::size_t size, std::string& error);

}  // namespace qv::tools
