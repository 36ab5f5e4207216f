// The controller's pause and stop against the real program's automatic
// batch, on the real clock: the About box opened during a pass lets that pass
// finish and holds the batch until it closes; a close during the batch ends
// the program once the whole batch has run. Slow by nature (the first batch
// comes a minute after start), hence the suite's name.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/input.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/wait.h"
#include "support/windows_find.h"

namespace kestrin::test {
namespace {

constexpr char kPassStart[] = "pass start on interval thread";
constexpr size_t kBatch = 10;
constexpr DWORD kQuietMs = 3000;  // two passes' worth: one would have started

// Index of the n-th line (from 1) that contains the text; lines.size() when absent.
size_t NthLine(const std::vector<std::string>& lines, const std::string& text, size_t n) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string::npos && --n == 0) return i;
    }
    return lines.size();
}

TEST(SlowRealTime, AboutBoxHoldsTheBatchBetweenPassesAndACloseEndsItAfterTheBatch) {
    struct IniRemover {
        ~IniRemover() { RemoveIni(); }
    } removeIni;
    WriteIni({"Timer=1", "MsgBox=0", "Counter=" + std::to_string(kBatch), "ManOnce=1", "UseHK=0"});
    KestrinProcess kestrin;
    // The tray icon's window is made after the controller's: the start-up
    // must be over before it is looked for.
    ASSERT_TRUE(kestrin.WaitForLines("resident", 1, 20000));
    const HWND controller = WaitForController(kestrin);
    ASSERT_NE(controller, nullptr);
    const HWND callback = CallbackWindow(controller);
    ASSERT_NE(callback, nullptr);
    ASSERT_TRUE(kestrin.WaitForLines(kPassStart, 1, 100000)) << "no automatic pass";

    // The About box pauses the thread while a pass is under way.
    const HWND menu = OpenTrayMenu(kestrin, callback);
    if (!menu) {
        // Whether the main thread still handles messages tells a lost click from a hang.
        DWORD_PTR answer = 0;
        const bool answers = SendMessageTimeoutA(controller, WM_NULL, 0, 0, SMTO_BLOCK, kGenerousMs, &answer) != 0;
        FAIL() << "no tray menu; the controller " << (answers ? "answers" : "does not answer")
               << "; lines: " << ::testing::PrintToString(kestrin.Lines());
    }
    ASSERT_TRUE(WaitFor([&] { return HasKeyboard(menu); }));
    SendKey('A');
    const HWND about = WaitForShownWindow("TAboutBox", nullptr, kGenerousMs, kestrin.ProcessId());
    ASSERT_NE(about, nullptr);
    // The pass it met finishes; the next one waits for the box to close.
    ASSERT_TRUE(WaitFor([&] { return kestrin.CountLines("pass end") == kestrin.CountLines(kPassStart); }))
        << "the pass did not finish under the About box";
    const size_t held = kestrin.CountLines(kPassStart);
    ASSERT_LT(held, kBatch) << "the batch was over before the box opened";
    EXPECT_TRUE(HoldsFor([&] { return kestrin.CountLines(kPassStart) == held; }, kQuietMs))
        << "a pass started while the About box was open";

    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(kestrin.WaitForLines(kPassStart, held + 1, kGenerousMs)) << "the batch did not go on";

    // A close during the batch: the batch runs to its end, then the program ends.
    PostMessageA(controller, WM_CLOSE, 0, 0);
    ASSERT_TRUE(kestrin.WaitForExit(60000)) << "the close hung on the interval thread";
    const std::vector<std::string> lines = kestrin.Lines();
    EXPECT_EQ(kestrin.CountLines(kPassStart), kBatch);
    EXPECT_EQ(kestrin.CountLines("pass end"), kBatch);
    EXPECT_EQ(kestrin.CountLines("animation start"), kestrin.CountLines("animation stop"));
    EXPECT_LT(NthLine(lines, "pass end", kBatch), NthLine(lines, "settings saved", 1))
        << "the settings were saved before the batch was over";
}

}  // namespace
}  // namespace kestrin::test
