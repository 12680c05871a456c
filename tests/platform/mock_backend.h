// A display back end whose every call a test can watch and script.
#pragma once

#include "display/display.h"

#include <gmock/gmock.h>

class MockBackend : public qv::display::Backend {
public:
    MOCK_METHOD(bool, Open, (HWND, std::string&), (override));
    MOCK_METHOD(bool, SetMode, (uint32_t, uint32_t, uint32_t, std::string&), (override));
    MOCK_METHOD(void, Close, (), (override));
    MOCK_METHOD(void, Present, (const qv::display::Frame&, bool), (override));
    MOCK_METHOD(bool, PumpInput, (int), (override));
    MOCK_METHOD(void, ShowMessageBox, (const char*, const char*, UINT), (override));
    MOCK_METHOD(void, WindowShown, (HWND, bool), (override));
    MOCK_METHOD(void, WindowDestroyed, (HWND), (override));
};
