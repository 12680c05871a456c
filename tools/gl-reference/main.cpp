// quorvane-gl-reference: replays the world matrices that quorvane-bench
// --write-matrices recorded through OpenGL's fixed-function pipeline on Mesa's
// software rasterizer, offscreen, and reports its frame rate; it can write one
// frame as a PNG. An independent picture and speed to hold the stand-in to.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "arguments.h"
#include "display/png_writer.h"
#include "fixed_function_scene.h"
#include "offscreen_gl.h"
#include "scene/constants.h"

namespace {

constexpr int kFailed = 1;
constexpr int kBadOption = 2;
constexpr int kOutputFailed = 3;
constexpr uint64_t kMostFrames = 1000000;

struct Options {
    std::string matrices;
    std::string png;
    long frame = -1;  // the last
    long warmup = 50;
};

void Usage() {
    std::puts(
        "usage: quorvane-gl-reference --matrices FILE [options]\n"
        "  --matrices FILE   the frames' world matrices as quorvane-bench --write-matrices writes\n"
        "                    them: per frame four matrices of 16 float32 _11.._44 (256 bytes)\n"
        "  --png FILE        write one frame as an 8-bit RGB PNG\n"
        "  --frame N         the frame --png writes, counted from 0 (default: the last)\n"
        "  --warmup N        untimed frames before the timed run (default 50)\n"
        "Draws every frame once, each finished before the next, and prints the frame rate.\n"
        "Mesa's software driver is used unless LIBGL_ALWAYS_SOFTWARE says otherwise;\n"
        "GALLIUM_DRIVER (default llvmpipe) chooses it, LP_NUM_THREADS its threads.\n"
        "Exit codes: 0 done, 1 no OpenGL or unreadable matrices, 2 bad option, 3 PNG not written.");
}

// 0 on success, -1 after --help, else the exit code.
int Parse(int argc, char** argv, Options& o) {
    std::string error;
    const auto arguments =
        qv::tools::ReadArguments(argc, argv, {"--matrices", "--png", "--frame", "--warmup"}, {"--help", "-h"}, error);
    bool ok = arguments.has_value();
    for (std::size_t i = 0; ok && i < arguments->size(); ++i) {
        const qv::tools::Argument& argument = (*arguments)[i];
        uint64_t number = 0;
        if (argument.name == "--help" || argument.name == "-h") {
            Usage();
            return -1;
        } else if (argument.name.empty()) {
            error = "unexpected argument '" + argument.value + "' (see --help)";
            ok = false;
        } else if (argument.value.empty()) {
            error = "option " + argument.name + " needs a value that is not empty (see --help)";
            ok = false;
        } else if (argument.name == "--matrices") {
            o.matrices = argument.value;
        } else if (argument.name == "--png") {
            o.png = argument.value;
        } else if ((ok = qv::tools::ReadNumber(argument, 0, kMostFrames, number, error))) {
            (argument.name == "--frame" ? o.frame : o.warmup) = static_cast<long>(number);
        }
    }
    if (ok && o.matrices.empty()) {
        error = "--matrices FILE is required (see --help)";
        ok = false;
    }
    if (!ok) std::fprintf(stderr, "quorvane-gl-reference: %s\n", error.c_str());
    return ok ? 0 : kBadOption;
}

bool ReadMatrices(const char* path, std::vector<qv::glref::WorldMatrices>& frames, std::string& error) {
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        error = std::string("cannot read ") + path + ": " + std::strerror(errno);
        return false;
    }
    qv::glref::WorldMatrices frame;
    std::size_t got = 0;
    while ((got = std::fread(&frame, 1, sizeof frame, file)) == sizeof frame) frames.push_back(frame);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || got != 0 || frames.empty()) {
        error = std::string(path) + (failed ? ": read error" : " is not a whole number of frames of 256 bytes, or is empty");
        return false;
    }
    return true;
}

}  // namespace

// In a sanitizer build: Mesa and LLVM keep allocations past exit, which the
// leak checker would report as this tool's failure. The tool is a yardstick,
// not code under test, so its leaks are not checked.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
    Options o;
    if (const int status = Parse(argc, argv, o)) return status < 0 ? 0 : status;

    std::vector<qv::glref::WorldMatrices> frames;
    std::string error;
    if (!ReadMatrices(o.matrices.c_str(), frames, error)) {
        std::fprintf(stderr, "quorvane-gl-reference: %s\n", error.c_str());
        return kFailed;
    }
    const std::size_t count = frames.size();
    const std::size_t pngFrame = o.frame < 0 ? count - 1 : static_cast<std::size_t>(o.frame);
    if (pngFrame >= count) {
        std::fprintf(stderr, "quorvane-gl-reference: --frame %ld is beyond the %zu frames of %s\n", o.frame, count,
                     o.matrices.c_str());
        return kBadOption;
    }
    if (!o.png.empty()) {
        // The output is checked before the work; the picture replaces it after.
        FILE* probe = std::fopen(o.png.c_str(), "wb");
        if (!probe || std::fclose(probe) != 0) {
            std::fprintf(stderr, "quorvane-gl-reference: cannot write %s: %s\n", o.png.c_str(), std::strerror(errno));
            return kOutputFailed;
        }
    }

    qv::glref::OffscreenGl gl;
    qv::glref::FixedFunctionScene scene;
    if (!gl.Open(kScreenWidth, kScreenHeight, error)) {
        std::fprintf(stderr, "quorvane-gl-reference: no offscreen OpenGL: %s\n", error.c_str());
        return kFailed;
    }
    if (!scene.Init()) {
        std::fprintf(stderr, "quorvane-gl-reference: cannot set up the scene (%s)\n", gl.Description().c_str());
        return kFailed;
    }
    std::printf("quorvane-gl-reference: %s, %dx%d, %zu frames after %ld warm-up\n", gl.Description().c_str(),
                kScreenWidth, kScreenHeight, count, o.warmup);

    for (long f = 0; f < o.warmup; ++f) scene.Draw(frames[static_cast<std::size_t>(f) % count]);
    // Wall time gives the rate; processor time counts the driver's threads too.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    for (const qv::glref::WorldMatrices& frame : frames) scene.Draw(frame);
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("render: %.1f fps, %.3f ms/frame, processor %.3f ms/frame\n", double(count) / seconds,
                seconds * 1000.0 / double(count), cpuSeconds * 1000.0 / double(count));

    if (!o.png.empty()) {
        scene.Draw(frames[pngFrame]);
        const std::vector<uint32_t> pixels = gl.ReadPixels();
        const qv::display::Frame picture{pixels.data(), kScreenWidth, kScreenWidth, kScreenHeight};
        if (!qv::display::WritePng(o.png, picture, error)) {
            std::fprintf(stderr, "quorvane-gl-reference: %s\n", error.c_str());
            return kOutputFailed;
        }
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "quorvane-gl-reference: writing the report to standard output failed\n");
        return kOutputFailed;
    }
    return 0;
}
