#include "support/app_fixture.h"

namespace kestrin::test {

void EnsureApplication() {
    static const bool initialized = [] {
        App().Initialize(GetModuleHandleA(nullptr));
        return true;
    }();
    (void)initialized;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        App().ProcessMessages();
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        HANDLE event = App().SynchronizeEvent();
        MsgWaitForMultipleObjects(1, &event, FALSE, 10, QS_ALLINPUT);
        App().CheckSynchronize();
    }
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
