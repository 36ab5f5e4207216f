#include "support/app_fixture.h"

#include <gtest/gtest.h>

#include <utility>

#include "support/windows_find.h"

namespace kestrin::test {

namespace {

thread_local std::vector<ShownError>* caught = nullptr;

bool ShowsErrorIcon(HWND box) {
    const HICON error = LoadIconA(nullptr, IDI_HAND);  // shared: the box shows this one
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == error) return true;
    return false;
}

// A box that ends in its WM_INITDIALOG never enters its modal loop.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto& sent = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && caught && sent.message == WM_INITDIALOG && ClassOf(sent.hwnd) == "#32770" &&
        ShowsErrorIcon(sent.hwnd)) {
        caught->push_back({TextOf(GetDlgItem(sent.hwnd, 0xFFFF)), TextOf(sent.hwnd), GetWindow(sent.hwnd, GW_OWNER)});
        EndDialog(sent.hwnd, IDOK);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

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
    catcher_.emplace(errors_);
}

void AppTest::TearDown() {
    // Whatever a test left behind (releases, posted messages) is settled here,
    // while errors are still captured.
    App().ProcessMessages();
    catcher_.reset();
    App().SetTitle("");
    App().SetHelpHandler(nullptr);
    App().SetMainForm(nullptr);
    App().SetShowMainForm(true);
    App().ResetTerminated();
}

ErrorBoxCatcher::ErrorBoxCatcher(std::vector<ShownError>& errors)
    : outer_(std::exchange(caught, &errors)),
      hook_(outer_ ? nullptr : SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId())) {}

ErrorBoxCatcher::~ErrorBoxCatcher() {
    if (hook_) UnhookWindowsHookEx(hook_);
    caught = outer_;
}

}  // namespace kestrin::test
