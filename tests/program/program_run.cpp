#include "program_run.h"

#include "control/control.h"
#include "entry/launch.h"
#include "user/input.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ScriptedDisplay final : public qv::display::HeadlessBackend {
public:
    explicit ScriptedDisplay(FrameScript script) : script_(std::move(script)) {}

    void Present(const qv::display::Frame& frame, bool waitForRefresh) override {
        HeadlessBackend::Present(frame, waitForRefresh);
        if (script_) script_(PresentedFrames());
    }

private:
    FrameScript script_;
};

}  // namespace

std::vector<std::string> ProgramRun::Lines(const std::string& prefix) const {
    std::vector<std::string> lines;
    for (const std::string& line : trace)
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

int ProgramRun::Find(const std::string& prefix, int from) const {
    for (int i = from; i < static_cast<int>(trace.size()); ++i)
        if (trace[i].rfind(prefix, 0) == 0) return i;
    return -1;
}

ProgramRun RunProgram(const ProgramSetup& setup) {
    qv::control::Reset();
    qv::user::Reset();
    auto display = std::make_unique<ScriptedDisplay>(setup.script);
    ScriptedDisplay& shown = *display;
    shown.KeepLastFrame();
    qv::display::Install(std::move(display));

    ProgramRun run;
    qv::control::SetTraceSink([&run](const std::string& line) { run.trace.push_back(line); });
    qv::control::SetClock(static_cast<std::time_t>(setup.seed));
    qv::control::SetFrameLimit(setup.frameLimit);
    if (setup.configure) setup.configure();

    testing::internal::CaptureStderr();
    run.exitCode = qv::entry::RunWinMain("");
    run.standardError = testing::internal::GetCapturedStderr();

    run.framesPresented = shown.PresentedFrames();
    run.lastFrame = shown.LastFramePixels();
    qv::control::Reset();
    return run;
}
