// The tools' output files, checked before the work so that a bad path is
// reported at once rather than after the run.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace qv::tools {

// Whether a file can be written at path: an existing file is left as it is,
// one created for the check is removed again. Else false and says why.
bool CheckWritable(const std::string& path, std::string& error);

// Creates the directory and its parents where missing; else false and says why.
bool MakeDirectory(const std::string& path, std::string& error);

// A new file at path, written from start to end. The first error is kept:
// later writes do nothing, and Close reports it.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const void* bytes, std::size_t size);
    // Flushes and closes the file; false when any of it failed, and says why
    // (a partial file may remain).
    bool Close(std::string& error);

private:
    std::string path_;
    std::FILE* file_;
    int failure_ = 0;
};

}  // namespace qv::tools
