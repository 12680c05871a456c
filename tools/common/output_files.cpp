#include "output_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

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

bool WriteFile(const std::string& path, const void* bytes, std::size_t size, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return Failed(path, errno, error);
    const bool written = std::fwrite(bytes, 1, size, file) == size && std::fflush(file) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    return Failed(path, written ? errno : writeError, error);
}

}  // namespace qv::tools
