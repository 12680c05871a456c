// The capture tool's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CaptureOptions {
    uint64_t frames = 60;
    std::optional<uint32_t> seed;
    std::string png;
    std::string pngDir;
    uint64_t every = 1;
    std::string trace;
    std::vector<std::string> faults;
    std::string modes;
    bool help = false;
    bool listFaults = false;  // --fail list
};

extern const char* const kCaptureUsage;

// Parses argv; on a bad option returns nullopt and says why in error.
std::optional<CaptureOptions> ParseCaptureOptions(int argc, char** argv, std::string& error);
