#include "support/resident_fixture.h"

#include "support/kestrin_env.h"

namespace kestrin::test {

void ResidentFixture::StartResident(const std::vector<std::string>& settings) {
    WriteIni(settings);
    k_ = std::make_unique<KestrinProcess>();
    ASSERT_TRUE(k_->WaitForLines("resident", 1, 20000)) << "no end of start-up";
    controller_ = WaitForController(*k_);
    ASSERT_NE(controller_, nullptr);
    callback_ = CallbackWindow(controller_);
}

void ResidentFixture::StartWithHotKey(int timerMinutes) {
    StartResident({"Timer=" + std::to_string(timerMinutes), "MsgBox=0", "UseHK=1", "HKShifts=3", "HKChar=75"});
    if (HasFatalFailure()) return;
    hotKey_ = GlobalFindAtomA("KestrinHK");
    ASSERT_NE(hotKey_, 0);
}

void ResidentFixture::TearDown() {
    if (k_ && k_->Running()) {
        PostMessageA(controller_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(k_->WaitForExit(15000)) << "the close hung";
    }
    RemoveIni();
}

}  // namespace kestrin::test
