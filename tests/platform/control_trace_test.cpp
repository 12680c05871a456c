// The call trace: number formatting, line format and where lines go.

#include "control/control.h"
#include "control/trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <vector>

namespace qv::control {
namespace {

class ControlTrace : public testing::Test {
protected:
    void SetUp() override {
        Reset();
        SetTraceSink([this](const std::string& line) { lines.push_back(line); });
    }
    void TearDown() override { Reset(); }
    std::vector<std::string> lines;
};

TEST(ControlFloat, ShortestTextThatReadsBack) {
    EXPECT_EQ(Float(0.1f), "0.1");
    EXPECT_EQ(Float(8.0f / 3.0f), "2.6666667");
    EXPECT_EQ(Float(6.2831855f), "6.2831855");
    EXPECT_EQ(Float(1.0f), "1");
    EXPECT_EQ(Float(-0.5f), "-0.5");
    EXPECT_EQ(Float(0.0f), "0");
    EXPECT_EQ(Float(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(Float(-std::numeric_limits<float>::infinity()), "-inf");
    EXPECT_EQ(Float(std::nanf("")), "nan");
}

TEST(ControlFloat, EveryValueReadsBackExactly) {
    const float samples[] = {1e-7f, 3.4028235e38f, 1.17549435e-38f, 1e-45f, 123456.789f, 0.3f, 1.0f / 3.0f, -7.25e10f};
    for (float value : samples) {
        std::string text = Float(value);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
    }
}

TEST(ControlText, QuotesEscapesAndNames) {
    EXPECT_EQ(Text("Quorvane"), "\"Quorvane\"");
    EXPECT_EQ(Text(nullptr), "NULL");
    EXPECT_EQ(Text("a\"b\\c\n"), "\"a\\\"b\\\\c\\x0A\"");
    EXPECT_EQ(HexText(0xCF0000), "0xCF0000");
    EXPECT_EQ(Flags(0x3, {{1, "ONE"}, {2, "TWO"}}), "ONE|TWO");
    EXPECT_EQ(Flags(0x7, {{3, "BOTH"}, {1, "ONE"}}), "BOTH|0x4");
    EXPECT_EQ(Flags(0, {{1, "ONE"}}), "0");
    EXPECT_EQ(Enum(2, {{1, "ONE"}, {2, "TWO"}}), "TWO");
    EXPECT_EQ(Enum(9, {{1, "ONE"}}), "9");
}

TEST_F(ControlTrace, LinesOfCallsAndRefusals) {
    CallTrace("IDirect3DDevice2::SetRenderState").Arg("D3DRENDERSTATE_ZENABLE").Arg(1).Result("DD_OK");
    CallTrace("IDirectDraw::SetDisplayMode")
        .Arg(800)
        .Arg(600)
        .Arg(32)
        .Result("DDERR_INVALIDMODE", "the display offers no 800 x 600 x 32 mode");
    CallTrace("IDirectDrawSurface::Flip").Arg("NULL").Hex(1).Result("DD_OK");
    CallTrace("IDirect3DDevice2::BeginScene").Result("D3D_OK");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "IDirect3DDevice2::SetRenderState(D3DRENDERSTATE_ZENABLE, 1) -> DD_OK",
                         "IDirectDraw::SetDisplayMode(800, 600, 32) -> DDERR_INVALIDMODE: the display offers no 800 x "
                         "600 x 32 mode",
                         "IDirectDrawSurface::Flip(NULL, 0x1) -> DD_OK",
                         "IDirect3DDevice2::BeginScene() -> D3D_OK",
                     }));
}

TEST_F(ControlTrace, NothingIsWrittenWithoutASink) {
    SetTraceSink(nullptr);
    EXPECT_FALSE(Tracing());
    CallTrace("DirectDrawCreate").Result("DD_OK");
    EXPECT_TRUE(lines.empty());
}

TEST_F(ControlTrace, TraceFileGetsOneLinePerCall) {
    std::string path = testing::TempDir() + "control_trace_test.txt";
    std::string error;
    ASSERT_TRUE(TraceFile(path, error)) << error;
    CallTrace("PostQuitMessage").Arg(1).Result("void");
    CallTrace("IsWindow").Result("FALSE", "why");
    SetTraceSink(nullptr);
    std::ifstream file(path);
    std::string first, second, third;
    std::getline(file, first);
    std::getline(file, second);
    EXPECT_EQ(first, "PostQuitMessage(1) -> void");
    EXPECT_EQ(second, "IsWindow() -> FALSE: why");
    EXPECT_FALSE(std::getline(file, third));
    std::remove(path.c_str());
}

TEST_F(ControlTrace, UnwritableTraceFileIsRefused) {
    std::string error;
    EXPECT_FALSE(TraceFile("/nonexistent-dir/trace.txt", error));
    EXPECT_NE(error.find("/nonexistent-dir/trace.txt"), std::string::npos);
}

TEST_F(ControlTrace, AllocationFaultReachesTheProgramsNew) {
    InjectFault("operator new[]", 2);
    char* first = new (std::nothrow) char[16];
    char* second = new (std::nothrow) char[16];
    char* third = new (std::nothrow) char[16];
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    delete[] first;
    delete[] third;
}

}  // namespace
}  // namespace qv::control
