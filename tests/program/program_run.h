// Runs the whole program (WinMain, message loop and all) inside the test
// process on a fresh headless desktop, and collects what it did: the exit
// code, the platform call trace, standard error, the frames presented.
#pragma once

#include "display/headless.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ProgramRun {
    int exitCode = -1;
    std::vector<std::string> trace;
    std::string standardError;
    uint64_t framesPresented = 0;
    std::vector<uint32_t> lastFrame;

    // The trace lines that start with prefix, in order.
    std::vector<std::string> Lines(const std::string& prefix) const;
    // The index of the first trace line starting with prefix at or after
    // from, or -1.
    int Find(const std::string& prefix, int from = 0) const;
};

// Called after each presented frame (1, 2, ...): scripts input the way a
// user at the display would.
using FrameScript = std::function<void(uint64_t frame)>;

struct ProgramSetup {
    uint32_t seed = 1;
    uint64_t frameLimit = 3;  // 0: only the script closes the window
    FrameScript script;
    std::function<void()> configure;  // control settings: faults, modes
};

ProgramRun RunProgram(const ProgramSetup& setup);
