#pragma once
// The application object for in-process tests: initialised once per process
// on GoogleTest's main thread, with the message boxes of errors that reach
// the top level caught.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
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

// While it lives, every message box with the error icon that this thread
// opens (the top-level error handler's) is recorded in `errors` and closed
// as soon as it is made, before it runs a loop of its own.
class ErrorBoxCatcher {
public:
    explicit ErrorBoxCatcher(std::vector<ShownError>& errors);
    ~ErrorBoxCatcher();
    ErrorBoxCatcher(const ErrorBoxCatcher&) = delete;
    ErrorBoxCatcher& operator=(const ErrorBoxCatcher&) = delete;

private:
    std::vector<ShownError>* outer_;  // a catcher this one stands in for
    HHOOK hook_;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<ShownError> errors_;

private:
    std::optional<ErrorBoxCatcher> catcher_;
};

}  // namespace kestrin::test
