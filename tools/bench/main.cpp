// quorvane-bench: draws the program's own frames headless through the
// pipeline, single-threaded, and reports frames per second and milliseconds
// per frame, the median over several repetitions of the same motion.
#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cinttypes>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "arguments.h"
#include "control/control.h"
#include "output_files.h"
#include "program_settings.h"
#include "scene_frame.h"

namespace {

constexpr int kBadOption = 2, kOutputFailed = 3;
constexpr uint64_t kMostFrames = 1000000, kMostRepetitions = 1000;

struct Options {
    uint64_t frames = 2000;
    uint64_t repeat = 5;
    uint64_t warmup = 50;
    uint64_t seed = 1;
    uint64_t threads = 1;
    std::string matricesOut;
    bool help = false;
};

constexpr const char* kUsage =
    "usage: quorvane-bench [options]   (--name value or --name=value)\n"
    "  --frames N               timed frames per repetition (1..1000000, default 2000)\n"
    "  --repeat R               repetitions over the same motion (1..1000, default 5)\n"
    "  --warmup N               untimed frames before the first repetition (0..1000000, default 50)\n"
    "  --seed S                 seed of the scene's random source (default 1)\n"
    "  --threads N              drawing threads (1..64, default 1)\n"
    "  --write-matrices FILE    write the frames' world matrices: per frame four matrices of\n"
    "                           16 float32 _11.._44 (256 bytes), as gl-reference --matrices reads\n"
    "Exit code: 0 after the run, 1 when the mesh cannot be built, 2 for a bad option,\n"
    "3 when the matrices file or the report cannot be written.\n";

bool Parse(int argc, char** argv, Options& o, std::string& error) {
    const auto arguments = qv::tools::ReadArguments(
        argc, argv, {"--frames", "--repeat", "--warmup", "--seed", "--threads", "--write-matrices"}, {"--help", "-h"}, error);
    if (!arguments) return false;
    for (const qv::tools::Argument& argument : *arguments) {
        const std::string& name = argument.name;
        bool ok = true;
        if (name == "--help" || name == "-h") {
            o.help = true;
        } else if (name == "--frames") {
            ok = qv::tools::ReadNumber(argument, 1, kMostFrames, o.frames, error);
        } else if (name == "--repeat") {
            ok = qv::tools::ReadNumber(argument, 1, kMostRepetitions, o.repeat, error);
        } else if (name == "--warmup") {
            ok = qv::tools::ReadNumber(argument, 0, kMostFrames, o.warmup, error);
        } else if (name == "--seed") {
            ok = qv::tools::ReadNumber(argument, 0, UINT32_MAX, o.seed, error);
        } else if (name == "--threads") {
            ok = qv::tools::ReadNumber(argument, 1, qv::control::kMaxDrawThreads, o.threads, error);
        } else if (name == "--write-matrices" && !argument.value.empty()) {
            o.matricesOut = argument.value;
        } else {
            error = name.empty() ? "unexpected argument '" + argument.value + "' (see --help)"
                                 : "option " + name + " needs a file name (see --help)";
            ok = false;
        }
        if (!ok) return false;
    }
    return true;
}

// Writes the motion's world matrices frame by frame as they are made.
bool WriteMatrices(const Options& o, std::string& error) {
    qv::tools::OutputFile file(o.matricesOut);
    qv::bench::StartMotion(static_cast<uint32_t>(o.seed));
    for (uint64_t f = 0; f < o.frames; ++f) {
        const qv::bench::WorldMatrices frame = qv::bench::NextMotionFrame();
        file.Write(&frame, sizeof frame);
    }
    return file.Close(error);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error;
    if (!Parse(argc, argv, o, error)) {
        std::fprintf(stderr, "quorvane-bench: %s\n", error.c_str());
        return kBadOption;
    }
    if (o.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!qv::tools::RefuseProgramSettings("quorvane-bench", error)) {
        std::fprintf(stderr, "quorvane-bench: %s\n", error.c_str());
        return kBadOption;
    }
    if (!o.matricesOut.empty() && !WriteMatrices(o, error)) {
        std::fprintf(stderr, "quorvane-bench: %s\n", error.c_str());
        return kOutputFailed;
    }
    qv::bench::SceneFrame scene;
    if (!scene.Init()) {
        std::fprintf(stderr, "quorvane-bench: cannot build the torus mesh\n");
        return 1;
    }

    // A build without threads (the browser's), or a system out of them, has
    // fewer to give: a count it cannot draw with is refused, not shrunk.
    const unsigned threads = scene.UseThreads(static_cast<unsigned>(o.threads));
    if (threads < o.threads) {
        std::fprintf(stderr, "quorvane-bench: --threads %" PRIu64 ": only %u can draw here\n", o.threads, threads);
        return kBadOption;
    }
    std::printf("quorvane-bench: %" PRIu64 " frames x %" PRIu64 " repetitions after %" PRIu64 " warm-up, seed %" PRIu64
                ", %ux%u, %u thread(s)\n",
                o.frames, o.repeat, o.warmup, o.seed, qv::bench::SceneFrame::kWidth,
                qv::bench::SceneFrame::kHeight, threads);
    qv::bench::StartMotion(static_cast<uint32_t>(o.seed));
    for (uint64_t f = 0; f < o.warmup; ++f) scene.Draw(qv::bench::NextMotionFrame());

    // Wall time gives the rate; processor time shows how much of it was ours
    // on a machine shared with other work. Each repetition makes the same
    // motion again as it draws, as the program does.
    using Clock = std::chrono::steady_clock;
    std::vector<double> fps, ms, cpuMs;
    for (uint64_t r = 0; r < o.repeat; ++r) {
        qv::bench::StartMotion(static_cast<uint32_t>(o.seed));
        const Clock::time_point start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        for (uint64_t f = 0; f < o.frames; ++f) scene.Draw(qv::bench::NextMotionFrame());
        const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        fps.push_back(double(o.frames) / seconds);
        ms.push_back(seconds * 1000.0 / double(o.frames));
        cpuMs.push_back(cpuSeconds * 1000.0 / double(o.frames));
        std::printf("repetition %" PRIu64 ": %.1f fps, %.3f ms/frame, processor %.3f ms/frame\n", r + 1, fps.back(),
                    ms.back(), cpuMs.back());
    }
    std::printf("pipeline: %.1f fps, %.3f ms/frame, processor %.3f ms/frame (median of %" PRIu64 ")\n", Median(fps),
                Median(ms), Median(cpuMs), o.repeat);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "quorvane-bench: cannot write the report: %s\n", std::strerror(errno));
        return kOutputFailed;
    }
    return 0;
}
