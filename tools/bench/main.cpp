// quorvane-bench: draws the program's own frames headless through the
// pipeline, single-threaded, and reports frames per second and milliseconds
// per frame, the median over several repetitions of the same motion.
#include <algorithm>
#include <chrono>
#include <cerrno>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "scene_frame.h"

namespace {

struct Options {
    long frames = 2000;
    long repeat = 5;
    long warmup = 50;
    unsigned long seed = 1;
    long threads = 1;
    const char* matricesOut = nullptr;
};

void Usage() {
    std::puts(
        "usage: quorvane-bench [options]\n"
        "  --frames N               timed frames per repetition (default 2000)\n"
        "  --repeat R               repetitions over the same motion (default 5)\n"
        "  --warmup N               untimed frames before the first repetition (default 50)\n"
        "  --seed S                 seed of the scene's random source (default 1)\n"
        "  --threads N              drawing threads, 1 to 64 (default 1)\n"
        "  --write-matrices FILE    write the frames' world matrices: per frame four matrices of\n"
        "                           16 float32 _11.._44 (256 bytes), as gl-reference --matrices reads");
}

bool ParseCount(const char* text, long min, long& out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < min) return false;
    out = v;
    return true;
}

// 0 on success, else the exit status.
int Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage();
            return -1;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "quorvane-bench: %s needs a value (see --help)\n", arg.c_str());
            return 2;
        }
        const char* value = argv[++i];
        long number = 0;
        bool ok = true;
        if (arg == "--frames") {
            ok = ParseCount(value, 1, o.frames);
        } else if (arg == "--repeat") {
            ok = ParseCount(value, 1, o.repeat);
        } else if (arg == "--warmup") {
            ok = ParseCount(value, 0, o.warmup);
        } else if (arg == "--seed") {
            ok = ParseCount(value, 0, number) && number <= 0xFFFFFFFFL;
            o.seed = static_cast<unsigned long>(number);
        } else if (arg == "--threads") {
            ok = ParseCount(value, 1, o.threads) && o.threads <= 64;
        } else if (arg == "--write-matrices") {
            o.matricesOut = value;
        } else {
            std::fprintf(stderr, "quorvane-bench: unknown option %s (see --help)\n", arg.c_str());
            return 2;
        }
        if (!ok) {
            std::fprintf(stderr, "quorvane-bench: bad value '%s' for %s\n", value, arg.c_str());
            return 2;
        }
    }
    return 0;
}

bool WriteMatrices(const char* path, const std::vector<qv::bench::WorldMatrices>& frames) {
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "quorvane-bench: cannot write %s: %s\n", path, std::strerror(errno));
        return false;
    }
    const std::size_t written = std::fwrite(frames.data(), sizeof frames[0], frames.size(), file);
    const bool ok = std::fclose(file) == 0 && written == frames.size();
    if (!ok) std::fprintf(stderr, "quorvane-bench: writing %s failed\n", path);
    return ok;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (const int status = Parse(argc, argv, o)) return status < 0 ? 0 : status;

    const auto frames = qv::bench::RecordMotion(static_cast<uint32_t>(o.seed), static_cast<std::size_t>(o.frames));
    if (o.matricesOut && !WriteMatrices(o.matricesOut, frames)) return 1;
    qv::bench::SceneFrame scene;
    if (!scene.Init()) {
        std::fprintf(stderr, "quorvane-bench: cannot build the torus mesh\n");
        return 1;
    }

    scene.UseThreads(static_cast<unsigned>(o.threads));
    std::printf("quorvane-bench: %ld frames x %ld repetitions after %ld warm-up, seed %lu, %ux%u, %ld thread(s)\n",
                o.frames, o.repeat, o.warmup, o.seed, qv::bench::SceneFrame::kWidth, qv::bench::SceneFrame::kHeight,
                o.threads);
    for (long f = 0; f < o.warmup; ++f) scene.Draw(frames[static_cast<std::size_t>(f % o.frames)]);

    // Wall time gives the rate; processor time shows how much of it was ours
    // on a machine shared with other work.
    using Clock = std::chrono::steady_clock;
    std::vector<double> fps, ms, cpuMs;
    for (long r = 0; r < o.repeat; ++r) {
        const Clock::time_point start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        for (const auto& frame : frames) scene.Draw(frame);
        const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        fps.push_back(double(o.frames) / seconds);
        ms.push_back(seconds * 1000.0 / double(o.frames));
        cpuMs.push_back(cpuSeconds * 1000.0 / double(o.frames));
        std::printf("repetition %ld: %.1f fps, %.3f ms/frame, processor %.3f ms/frame\n", r + 1, fps.back(), ms.back(),
                    cpuMs.back());
    }
    std::printf("pipeline: %.1f fps, %.3f ms/frame, processor %.3f ms/frame (median of %ld)\n", Median(fps),
                Median(ms), Median(cpuMs), o.repeat);
    return 0;
}
