// The application object: its window, the loop and how it ends, the
// top-level error handler, help dispatch and calls synchronised from workers.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

#include "framework/application.h"
#include "win32/portable/error.h"
#include "support/app_fixture.h"
#include "support/dialog_watcher.h"
#include "support/probe_form.h"
#include "support/windows_find.h"

namespace kestrin::test {
namespace {

// Ends a loop that failed to end by itself, so that a broken loop fails the
// test instead of hanging the run.
class Watchdog {
public:
    explicit Watchdog(DWORD timeoutMs)
        : thread_([this, timeoutMs] {
              if (WaitForSingleObject(done_.get(), timeoutMs) == WAIT_TIMEOUT) {
                  fired_ = true;
                  App().Terminate();
                  // Wake the loop by hand too, in case Terminate itself fails to.
                  PostMessageA(App().Handle(), WM_NULL, 0, 0);
              }
          }) {}
    ~Watchdog() {
        SetEvent(done_.get());
        thread_.join();
    }
    bool Fired() const { return fired_; }

private:
    KernelHandle done_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

using ApplicationTest = AppTest;

TEST_F(ApplicationTest, OwnsAHiddenTopLevelWindowOfClassTApplication) {
    HWND window = App().Handle();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(ClassOf(window), "TApplication");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(App().IsMainThread());
    EXPECT_EQ(App().Instance(), GetModuleHandleA(nullptr));

    // A second initialisation keeps the one window.
    App().Initialize(GetModuleHandleA(nullptr));
    EXPECT_EQ(App().Handle(), window);
}

TEST_F(ApplicationTest, TitleIsTheCaptionOfTheApplicationWindow) {
    EXPECT_EQ(TextOf(App().Handle()), "");
    App().SetTitle("ケストリン");
    EXPECT_EQ(TextOf(App().Handle()), "ケストリン");
}

TEST_F(ApplicationTest, FormsAreOwnedByTheApplicationWindow) {
    ProbeForm form;
    form.Create();
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), App().Handle());
}

TEST_F(ApplicationTest, TerminateFromAnotherThreadEndsRun) {
    Watchdog watchdog(10000);
    std::thread other([] {
        // Returns once the main thread has run the call, i.e. is in Run.
        App().Synchronize([] {});
        App().Terminate();
    });
    App().Run();
    other.join();
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_TRUE(App().Terminated());
}

TEST_F(ApplicationTest, TerminateBeforeRunEndsItAtOnce) {
    App().Terminate();
    Watchdog watchdog(10000);
    App().Run();
    EXPECT_FALSE(watchdog.Fired());
}

TEST_F(ApplicationTest, RunShowsTheMainFormUnlessToldNotTo) {
    for (bool show : {true, false}) {
        App().ResetTerminated();
        ProbeForm form;
        form.Create();
        App().SetMainForm(&form);
        App().SetShowMainForm(show);
        bool visibleInLoop = false;
        form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message != kProbeMessage) return false;
            visibleInLoop = form.Visible();
            App().Terminate();
            return true;
        };
        PostMessageA(form.Handle(), kProbeMessage, 0, 0);
        Watchdog watchdog(10000);
        App().Run();
        EXPECT_FALSE(watchdog.Fired());
        EXPECT_EQ(visibleInLoop, show);
    }
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsRun) {
    ProbeForm form;
    form.Create();
    App().SetMainForm(&form);
    App().SetShowMainForm(false);
    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    Watchdog watchdog(10000);
    App().Run();
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(form.Handle(), nullptr);
    EXPECT_EQ(form.events, (std::vector<std::string>{"FormCreate", "FormCloseQuery", "FormClose", "FormDestroy"}));
}

TEST_F(ApplicationTest, WmQuitEndsRunToo) {
    PostQuitMessage(0);
    Watchdog watchdog(10000);
    App().Run();
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_TRUE(App().Terminated());
}

TEST_F(ApplicationTest, ExceptionInAHandlerIsShownAndTheLoopGoesOn) {
    ProbeForm form;
    form.Create();
    int handled = 0;
    form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) -> bool {
        if (message == kProbeMessage) throw KestrinError("タスクトレイにアイコンを登録できません。");
        if (message == kProbeMessage2) {
            ++handled;
            return true;
        }
        return false;
    };
    PostMessageA(form.Handle(), kProbeMessage, 0, 0);
    PostMessageA(form.Handle(), kProbeMessage2, 0, 0);
    PostMessageA(form.Handle(), kProbeMessage, 0, 0);
    PostMessageA(form.Handle(), kProbeMessage2, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return handled == 2; }));
    ASSERT_EQ(errors_.size(), 2u);
    EXPECT_EQ(errors_[0].text, "タスクトレイにアイコンを登録できません。");
    EXPECT_EQ(errors_[0].caption, "Kestrin");
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST_F(ApplicationTest, ErrorCaptionIsTheTitleWhenThereIsOne) {
    App().SetTitle("TitleX");
    App().HandleException(std::runtime_error("boom"));
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].text, "boom");
    EXPECT_EQ(errors_[0].caption, "TitleX");
}

TEST_F(ApplicationTest, ExceptionInAKeyHookIsShownAndTheKeyConsumed) {
    ProbeForm form;
    form.Create();
    form.onKeyDown = [](WORD& key, ShiftState) {
        if (key == VK_F5) throw KestrinError("キーの処理に失敗");
    };
    bool reachedWindow = false;
    form.OnMessage = [&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_KEYDOWN && wParam == VK_F5) reachedWindow = true;
        return false;
    };
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_F5, 0);
    ASSERT_TRUE(WaitFor([&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_[0].text, "キーの処理に失敗");
    EXPECT_FALSE(reachedWindow);
}

TEST_F(ApplicationTest, ErrorsAreShownInMessageBoxesWithTheErrorIconOnTheCallingThread) {
    App().HandleException(KestrinError("メモリを圧縮できません"));
    ASSERT_EQ(errors_.size(), 1u) << "no message box with the error icon on this thread";
    EXPECT_EQ(errors_[0].text, "メモリを圧縮できません");
}

TEST_F(ApplicationTest, HelpCommandGoesToTheHandler) {
    EXPECT_FALSE(App().HelpCommand(1, 0));
    uint16_t command = 0;
    uint32_t data = 0;
    App().SetHelpHandler([&](uint16_t c, uint32_t d) {
        command = c;
        data = d;
        return true;
    });
    EXPECT_TRUE(App().HelpCommand(1, 18));
    EXPECT_EQ(command, 1);
    EXPECT_EQ(data, 18u);
    App().SetHelpHandler([](uint16_t, uint32_t) { return false; });
    EXPECT_FALSE(App().HelpCommand(15, 0));
}

TEST_F(ApplicationTest, F1OnAFormWithHelpContextAsksForContextHelp) {
    std::vector<std::pair<uint16_t, uint32_t>> requests;
    App().SetHelpHandler([&](uint16_t command, uint32_t data) {
        requests.emplace_back(command, data);
        return true;
    });
    ProbeForm withContext;
    withContext.SetHelpContext(18);
    withContext.Create();
    ProbeForm without;
    without.Create();
    PostMessageA(without.Handle(), WM_KEYDOWN, VK_F1, 0);
    PostMessageA(withContext.Handle(), WM_KEYDOWN, VK_F1, 0);
    ASSERT_TRUE(WaitFor([&] { return !requests.empty(); }));
    App().ProcessMessages();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], (std::pair<uint16_t, uint32_t>{HELP_CONTEXT, 18}));
}

TEST_F(ApplicationTest, SynchronizeOnTheMainThreadRunsAtOnce) {
    bool ran = false;
    App().Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(ApplicationTest, SynchronizeRunsOnTheMainThreadAndBlocksTheWorker) {
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> workerSawIt{false};
    std::atomic<bool> workerDone{false};
    std::thread worker([&] {
        App().Synchronize([&] {
            // A call that takes a while: a worker that did not wait for it
            // would find it unfinished.
            Sleep(20);
            ranOn = GetCurrentThreadId();
        });
        // The call has run when Synchronize returns.
        workerSawIt = ranOn.load() != 0;
        workerDone = true;
    });
    const bool done = WaitFor([&] { return workerDone.load(); }, 10000);
    worker.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(ranOn.load(), GetCurrentThreadId());
    EXPECT_TRUE(workerSawIt.load());
}

TEST_F(ApplicationTest, SynchronizeThrowsTheCallsExceptionInTheWorker) {
    std::string caught;
    std::atomic<bool> workerDone{false};
    std::thread worker([&] {
        try {
            App().Synchronize([] { throw KestrinError("同期エラー"); });
        } catch (const KestrinError& e) {
            caught = e.what();
        }
        workerDone = true;
    });
    const bool done = WaitFor([&] { return workerDone.load(); }, 10000);
    worker.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(caught, "同期エラー");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ApplicationTest, SynchronizedCallsGoThroughWhileAMessageBoxIsUp) {
    // The box runs its own modal loop; the call must not wait for it to close.
    std::atomic<bool> ranInBox{false};
    std::thread worker([&] {
        WaitForShownWindow("#32770", "KestrinSyncBox", kGenerousMs, GetCurrentProcessId());
        App().Synchronize([&] { ranInBox = true; });
    });
    DialogWatcher watcher("KestrinSyncBox", IDOK, 10000, [&] { return ranInBox.load(); });
    MessageBoxA(App().Handle(), "wait", "KestrinSyncBox", MB_OK);
    const bool ranBeforeClose = ranInBox.load();
    WaitFor([&] { return ranInBox.load(); }, 10000);
    worker.join();
    EXPECT_TRUE(watcher.Result().found);
    EXPECT_TRUE(ranBeforeClose);
}

TEST_F(ApplicationTest, ProcessMessagesHandlesWhatIsWaitingAndReturns) {
    ProbeForm form;
    form.Create();
    int count = 0;
    form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        ++count;
        return true;
    };
    for (int i = 0; i < 5; ++i) PostMessageA(form.Handle(), kProbeMessage, 0, 0);
    App().ProcessMessages();
    EXPECT_EQ(count, 5);
    App().ProcessMessages();
    EXPECT_EQ(count, 5);
}

}  // namespace
}  // namespace kestrin::test
