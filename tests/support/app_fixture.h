#pragma once
// The application object for in-process tests: initialised once per process
// on GoogleTest's main thread, with errors that reach the top level captured
// instead of shown in message boxes.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "support/wait.h"

namespace kestrin::test {

// Initialises App() on the calling thread the first time; later calls do nothing.
void EnsureApplication();

struct ShownError {
    std::string text;
    std::string caption;
    HWND owner = nullptr;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<ShownError> errors_;

private:
    Application::ErrorPresenter previous_;
};

}  // namespace kestrin::test
