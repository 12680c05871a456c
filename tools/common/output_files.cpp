#include "output_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace qv::tools {
namespace {

bool Failed(const std::string& path, int code, std::string& error) {
    error = "cannot write '" + path + "': " + std::strerror(code ? code : EIO);
    return false;
}

}  // namespace

bool CheckWritable(const std::string& path, std::string& error) {
    std::error_code ignored;
    const bool existed = std::filesystem::exists(path, ignored);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) return Failed(path, errno, error);
    std::fclose(file);
    if (!existed) std::remove(path.c_str());
    return true;
}

bool MakeDirectory(const std::string& path, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (!code && std::filesystem::is_directory(path, code)) return true;
    error = "cannot make the directory '" + path + "': " + (code ? code.message() : "a file has that name");
    return false;
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)), file_(std::fopen(path_.c_str(), "wb")) {
    if (!file_) failure_ = errno ? errno : EIO;
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
}

void OutputFile::Write(const void* bytes, std::size_t size) {
    if (!failure_ && std::fwrite(bytes, 1, size, file_) != size) failure_ = errno ? errno : EIO;
}

bool OutputFile::Close(std::string& error) {
    if (!failure_ && std::fflush(file_) != 0) failure_ = errno ? errno : EIO;
    if (file_ && std::fclose(file_) != 0 && !failure_) failure_ = errno ? errno : EIO;
    file_ = nullptr;
    return !failure_ || Failed(path_, failure_, error);
}

}  // namespace qv::tools
