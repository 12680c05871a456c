// The SDL display on a machine without a display: it fails fast and says why.
#include "display/sdl_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace qv::display {
namespace {

// Sets or clears an environment variable for one test and restores it after.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class SdlWithoutDisplay : public ::testing::Test {
protected:
    ScopedEnvironment display_{"DISPLAY", nullptr};
    ScopedEnvironment wayland_{"WAYLAND_DISPLAY", nullptr};
    ScopedEnvironment driver_{"SDL_VIDEODRIVER", nullptr};
    ScopedEnvironment windowed_{"QUORVANE_WINDOWED", nullptr};
    std::string error_;
    std::unique_ptr<Backend> backend_ = MakeSdlBackend(error_);
};

using ::testing::HasSubstr;

TEST_F(SdlWithoutDisplay, OpenSaysWhyAndHowToRenderOffscreen) {
    ASSERT_TRUE(backend_);
    EXPECT_FALSE(backend_->Open(nullptr, error_));
    EXPECT_THAT(error_, HasSubstr("no display"));
    EXPECT_THAT(error_, HasSubstr("DISPLAY"));
    EXPECT_THAT(error_, HasSubstr("QUORVANE_DISPLAY=headless"));
    EXPECT_EQ(error_.find('\n'), std::string::npos);
}

TEST_F(SdlWithoutDisplay, NothingElseWorksOrWaits) {
    EXPECT_FALSE(backend_->SetMode(800, 600, 32, error_));
    EXPECT_FALSE(backend_->ShowMessageBox("Direct3D init failed!", "My Quorvane application", MB_ICONERROR));
    EXPECT_FALSE(backend_->PumpInput(-1));  // must not wait for input that cannot come
    backend_->Present({nullptr, 0, 0, 0}, true);
    backend_->WindowShown(nullptr, true);
    backend_->Close();
}

TEST_F(SdlWithoutDisplay, BadWindowedSettingIsNamed) {
    ScopedEnvironment windowed("QUORVANE_WINDOWED", "yes");
    EXPECT_FALSE(backend_->Open(nullptr, error_));
    EXPECT_THAT(error_, HasSubstr("QUORVANE_WINDOWED"));
}

}  // namespace
}  // namespace qv::display
