// Message boxes: text and caption in cp932, the owner on the main thread
// and on other threads.
#include <windows.h>
#include <gtest/gtest.h>

#include <thread>

#include "framework/application.h"
#include "support/app_fixture.h"
#include "support/dialog_watcher.h"
#include "support/probe_form.h"

namespace kestrin::test {
namespace {

using MessageBoxTest = AppTest;

TEST_F(MessageBoxTest, ShowsTextAndCaptionAndReturnsTheButton) {
    DialogWatcher watcher("警告", IDOK);
    EXPECT_EQ(ShowMessageBox("Kestrinは起動中です。", "警告", MB_ICONEXCLAMATION), IDOK);
    const DialogSeen& seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Kestrinは起動中です。");
}

TEST_F(MessageBoxTest, OnTheMainThreadTheActiveWindowOwnsTheBox) {
    ProbeForm form;
    form.Show();
    SetActiveWindow(form.Handle());
    ASSERT_EQ(GetActiveWindow(), form.Handle());
    DialogWatcher watcher("KestrinOwnedBox", IDOK);
    ShowMessageBox("owned", "KestrinOwnedBox", MB_OK);
    const DialogSeen& seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, form.Handle());
}

TEST_F(MessageBoxTest, OnTheMainThreadWithoutAnActiveWindowTheApplicationOwnsIt) {
    SetActiveWindow(nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    DialogWatcher watcher("KestrinAppBox", IDOK);
    ShowMessageBox("app", "KestrinAppBox", MB_OK);
    const DialogSeen& seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, App().Handle());
}

TEST_F(MessageBoxTest, OnAnotherThreadTheBoxHasNoOwner) {
    DialogWatcher watcher("KestrinWorkerBox", IDCANCEL);
    int result = 0;
    DWORD workerId = 0;
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        result = ShowMessageBox("from a worker", "KestrinWorkerBox", MB_OKCANCEL);
    });
    worker.join();
    const DialogSeen& seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.threadId, workerId);
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
}  // namespace kestrin::test
