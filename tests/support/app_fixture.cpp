#include "support/app_fixture.h"

#include <gtest/gtest.h>

namespace kestrin::test {

namespace {
// The application belongs to the main thread, as in the program, whose entry
// builds it first: built here before a test's helper thread can reach it.
class MainThreadApplication : public ::testing::Environment {
    void SetUp() override { EnsureApplication(); }
};
const ::testing::Environment* const mainThreadApplication =
    ::testing::AddGlobalTestEnvironment(new MainThreadApplication);
}  // namespace

void EnsureApplication() {
    static const bool initialized = [] {
        App().Initialize(GetModuleHandleA(nullptr));
        return true;
    }();
    (void)initialized;
}

void AppTest::SetUp() {
    EnsureApplication();
    App().ResetTerminated();
    previous_ = App().SetErrorPresenter([this](HWND owner, const std::string& text, const std::string& caption) {
        errors_.push_back({text, caption, owner});
    });
}

void AppTest::TearDown() {
    // Whatever a test left behind (releases, posted messages) is settled here,
    // while errors are still captured.
    App().ProcessMessages();
    App().SetErrorPresenter(std::move(previous_));
    App().SetTitle("");
    App().SetHelpHandler(nullptr);
    App().SetMainForm(nullptr);
    App().SetShowMainForm(true);
    App().ResetTerminated();
}

}  // namespace kestrin::test
