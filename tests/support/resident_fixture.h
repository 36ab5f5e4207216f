#pragma once
// A test with the real Kestrin.exe resident: started with the given
// settings, its start-up finished, its controller and the tray icon's
// callback window found; closed through its window at the end, which must
// not hang, and the settings file removed.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/kestrin_process.h"

namespace kestrin::test {

class ResidentFixture : public ::testing::Test {
protected:
    // Call from SetUp, then return from it on HasFatalFailure().
    void StartResident(const std::vector<std::string>& settings);
    // Resident with its hot key registered (hotKey_) and no notice, so that a
    // pass ends with its animation and takes no second of its own; a batch
    // every `timerMinutes` minutes.
    void StartWithHotKey(int timerMinutes);
    void TearDown() override;

    // As the system delivers the registered hot key.
    void PressHotKey() const { PostMessageA(controller_, WM_HOTKEY, hotKey_, 0); }

    std::unique_ptr<KestrinProcess> k_;
    HWND controller_ = nullptr;
    HWND callback_ = nullptr;
    ATOM hotKey_ = 0;
};

}  // namespace kestrin::test
