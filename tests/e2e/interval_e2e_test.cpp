// The interval thread of the real program, on the real clock: with a
// one-minute interval the first automatic batch comes about a minute after
// start, and a close while the thread counts ends the program promptly.
// Slow by nature (over a minute), hence the suite's name.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/wait.h"
#include "support/wine_paths.h"

namespace kestrin::test {
namespace {

// The controller names the thread a pass starts on.
constexpr char kPassLine[] = "pass start on interval thread";

// Puts the user's ini file back as it was, whatever the test wrote.
class IniRestorer {
public:
    IniRestorer() : existed_(FileExists(IniPath())), bytes_(ReadFileBytes(IniPath())) {}
    ~IniRestorer() {
        if (existed_)
            WriteFileBytes(IniPath(), bytes_);
        else
            RemoveIni();
    }
    IniRestorer(const IniRestorer&) = delete;
    IniRestorer& operator=(const IniRestorer&) = delete;

private:
    bool existed_;
    std::string bytes_;
};

TEST(SlowRealTime, OneMinuteIntervalRunsTheFirstBatchAboutAMinuteAfterStart) {
    IniRestorer restore;
    WriteIni({"Timer=1", "MsgBox=1", "Counter=2", "ManOnce=1", "UseHK=0"});

    KestrinProcess kestrin;
    ASSERT_TRUE(kestrin.Started());
    HWND controller = WaitForController(kestrin);
    ASSERT_NE(controller, nullptr);
    const DWORD start = GetTickCount();

    // 60 counted seconds after the 1.5 s splash; a loaded machine only adds.
    ASSERT_TRUE(kestrin.WaitForLines(kPassLine, 1, 100000)) << "no automatic pass";
    const DWORD firstPass = GetTickCount() - start;
    EXPECT_GE(firstPass, 55000u) << "the count ran ahead of the clock";

    // The whole batch: Counter passes, then nothing until the next minute.
    ASSERT_TRUE(kestrin.WaitForLines(kPassLine, 2, 30000));
    // "Nothing" has no event of its own: a window of a few seconds, on the
    // real clock this test is about.
    EXPECT_TRUE(HoldsFor([&] { return kestrin.CountLines(kPassLine) == 2; }, 5000)) << "a third pass followed";
    // An automatic batch gives no notice.
    EXPECT_EQ(FindWindowA("TNoticeForm", nullptr), nullptr);

    // A close stops the thread after its current one-second wait.
    PostMessageA(controller, WM_CLOSE, 0, 0);
    EXPECT_TRUE(kestrin.WaitForExit(20000)) << "the close hung on the interval thread";
}

}  // namespace
}  // namespace kestrin::test
