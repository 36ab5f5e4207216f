// The tray icon's animation: frames taken from the image list and sent by
// the worker thread, the hand-over at a stop (the static picture is always
// the last one the shell gets) and the worker's life. The recorder notes
// the colour of every picture at the moment it is sent.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "framework/application.h"
#include "win32/icon_picture.h"
#include "framework/image_list.h"
#include "win32/portable/error.h"
#include "support/tray_support.h"
#include "support/windows_find.h"
#include "tray/tray_icon.h"
#include "tray/tray_icon_animation.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

// Colours of the 16-colour palette, which the image list keeps exactly.
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kStatic = 0x00FF00;
constexpr int32_t kRate = 100;
constexpr DWORD kGenerous = 5000;

class TrayAnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        App().Initialize(nullptr);
        owner_.Create();
        AddFrame(frames_, kRed);
        AddFrame(frames_, kBlue);
        icon_ = std::make_unique<TTrayIcon>(owner_);
        IconPicture picture;
        picture.Adopt(SolidIcon(kStatic));
        icon_->SetIcon(&picture);
        icon_->SetAnimateIcons(&frames_);
        icon_->SetAnimateRate(kRate);
    }
    void TearDown() override { icon_.reset(); }

    static void AddFrame(ImageList& list, uint32_t colour) {
        IconHandle frame = SolidIcon(colour);
        ASSERT_GE(list.AddIcon(frame.get()), 0);
    }
    void Show() {
        icon_->SetVisible(true);
        ASSERT_TRUE(icon_->IconAdded());
        shell_.Clear();
    }
    bool WaitForModifies(size_t count) {
        return WaitFor([&] { return shell_.Count(NIM_MODIFY) >= count; }, kGenerous);
    }
    std::vector<uint32_t> ModifyColours() const {
        std::vector<uint32_t> colours;
        for (const ShellCall& call : shell_.Calls(NIM_MODIFY)) colours.push_back(call.colour);
        return colours;
    }
    // Nothing reaches the shell for several frame periods: a parked worker
    // sends nothing, and there is no later event that could tell.
    void ExpectSilence() {
        const size_t before = shell_.Calls().size();
        EXPECT_TRUE(HoldsFor([&] { return shell_.Calls().size() == before; }, 4 * kRate))
            << "the shell got a picture after the stop";
    }

    TrayOwnerForm owner_;
    ErrorCatcher errors_;
    ShellRecorder shell_;
    ImageList frames_;
    std::unique_ptr<TTrayIcon> icon_;
};

TEST_F(TrayAnimationTest, FramesAlternateFromTheWorkerAndTheStaticPictureComesBack) {
    Show();
    icon_->StartAnimation(false);
    EXPECT_TRUE(icon_->Animating());
    EXPECT_FALSE(icon_->SingleStep());
    ASSERT_TRUE(WaitForModifies(5));
    const DWORD workerId = icon_->AnimationWorker()->ThreadId();
    KernelHandle worker(OpenThread(SYNCHRONIZE, FALSE, workerId));
    ASSERT_TRUE(worker);
    icon_->StopAnimation();
    EXPECT_FALSE(icon_->Animating());

    const auto modifies = shell_.Calls(NIM_MODIFY);
    ASSERT_GE(modifies.size(), 6u);
    for (size_t i = 0; i + 1 < modifies.size(); ++i) {
        EXPECT_EQ(modifies[i].colour, i % 2 == 0 ? kRed : kBlue) << "frame " << i;
        EXPECT_EQ(modifies[i].threadId, workerId) << "frame " << i;
        EXPECT_EQ(modifies[i].tip, "TipHelp");
        EXPECT_EQ(modifies[i].flags, 7u);
    }
    EXPECT_NE(workerId, GetCurrentThreadId());
    EXPECT_EQ(modifies.back().colour, kStatic);
    EXPECT_EQ(modifies.back().threadId, GetCurrentThreadId());
    // Between two animations there is no worker, and no frames held.
    EXPECT_EQ(icon_->AnimationWorker(), nullptr);
    EXPECT_EQ(WaitForSingleObject(worker.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "the worker still runs";
    ExpectSilence();
}

TEST_F(TrayAnimationTest, EveryStopEndsWithTheStaticPictureWhereverTheWorkerWas) {
    Show();
    for (int round = 0; round < 15; ++round) {
        icon_->StartAnimation(false);
        // Deliberately no event: the stop is to fall at different points of
        // the worker's cycle (before its first frame, during a frame, in the
        // pause between two), whatever they turn out to be on this machine.
        Sleep(static_cast<DWORD>((round * 37) % (kRate + 30)));
        icon_->StopAnimation();
        const auto calls = shell_.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().colour, kStatic) << "round " << round;
        EXPECT_EQ(icon_->AnimationWorker(), nullptr) << "round " << round;
        const size_t count = calls.size();
        EXPECT_TRUE(HoldsFor([&] { return shell_.Calls().size() == count; }, kRate)) << "round " << round;
    }
    ExpectSilence();
}

TEST_F(TrayAnimationTest, StartWithoutFramesDoesNothing) {
    Show();
    ImageList empty;
    icon_->SetAnimateIcons(&empty);
    icon_->StartAnimation(false);
    EXPECT_FALSE(icon_->Animating());
    EXPECT_EQ(icon_->AnimationWorker(), nullptr) << "a worker was started for no frames";

    icon_->SetAnimateIcons(nullptr);
    icon_->StartAnimation(true);
    EXPECT_FALSE(icon_->Animating());
    EXPECT_EQ(icon_->AnimationWorker(), nullptr);

    icon_->StopAnimation();  // nothing to stop: nothing sent
    EXPECT_EQ(shell_.Calls().size(), 0u);
}

TEST_F(TrayAnimationTest, ASecondAnimationStartsAtTheFirstFrameWithANewWorker) {
    AddFrame(frames_, kYellow);
    Show();
    icon_->StartAnimation(false);
    ASSERT_TRUE(WaitForModifies(1));  // most likely red only: the next would be blue
    icon_->StopAnimation();
    shell_.Clear();

    icon_->StartAnimation(false);
    ASSERT_TRUE(WaitForModifies(1));
    icon_->StopAnimation();
    const auto colours = ModifyColours();
    ASSERT_GE(colours.size(), 2u);
    EXPECT_EQ(colours.front(), kRed);
    EXPECT_EQ(colours.back(), kStatic);
    EXPECT_EQ(icon_->AnimationWorker(), nullptr);
}

TEST_F(TrayAnimationTest, SingleStepShowsTheFirstFrameAndHoldsIt) {
    Show();
    icon_->StartAnimation(true);
    EXPECT_TRUE(icon_->SingleStep());
    ASSERT_TRUE(WaitForModifies(1));
    ASSERT_TRUE(WaitFor([&] { return icon_->AnimationWorker()->Parked(); }, kGenerous));
    ExpectSilence();
    EXPECT_EQ(ModifyColours(), std::vector<uint32_t>{kRed});
    EXPECT_EQ(icon_->AnimationWorker()->FrameIndex(), 1);

    // Starting again while it holds changes nothing, the mode included.
    icon_->StartAnimation(false);
    EXPECT_TRUE(icon_->SingleStep());
    ExpectSilence();

    icon_->StopAnimation();
    EXPECT_EQ(ModifyColours(), (std::vector<uint32_t>{kRed, kStatic}));
    EXPECT_EQ(icon_->AnimationWorker(), nullptr);
    ExpectSilence();
}

TEST_F(TrayAnimationTest, ChangesWhileAnimatingShowTheCurrentFrame) {
    Show();
    icon_->StartAnimation(true);
    ASSERT_TRUE(WaitForModifies(1));
    ASSERT_TRUE(WaitFor([&] { return icon_->AnimationWorker()->Parked(); }, kGenerous));
    icon_->SetTipHelp("Kestrin");
    auto modifies = shell_.Calls(NIM_MODIFY);
    ASSERT_EQ(modifies.size(), 2u);
    EXPECT_EQ(modifies[1].colour, kRed);
    EXPECT_EQ(modifies[1].tip, "Kestrin");
    icon_->StopAnimation();
    modifies = shell_.Calls(NIM_MODIFY);
    EXPECT_EQ(modifies.back().colour, kStatic);
    EXPECT_EQ(modifies.back().tip, "Kestrin");
}

TEST_F(TrayAnimationTest, TheFrameListCannotBeReplacedDuringAnAnimation) {
    ImageList other;
    AddFrame(other, kYellow);
    icon_->StartAnimation(false);
    icon_->SetAnimateIcons(&other);
    EXPECT_EQ(icon_->AnimateIcons(), &frames_);
    icon_->StopAnimation();
    icon_->SetAnimateIcons(&other);
    EXPECT_EQ(icon_->AnimateIcons(), &other);
    icon_->SetAnimateIcons(nullptr);
}

TEST_F(TrayAnimationTest, AListOfOneImageRepeatsIt) {
    ImageList one;
    AddFrame(one, kYellow);
    icon_->SetAnimateIcons(&one);
    Show();
    icon_->StartAnimation(false);
    ASSERT_TRUE(WaitForModifies(3));
    icon_->StopAnimation();
    const auto colours = ModifyColours();
    for (size_t i = 0; i + 1 < colours.size(); ++i) EXPECT_EQ(colours[i], kYellow) << "frame " << i;
    EXPECT_EQ(colours.back(), kStatic);
    icon_->SetAnimateIcons(nullptr);
}

TEST_F(TrayAnimationTest, AnIconOutsideTheTrayAnimatesWithoutSending) {
    icon_->StartAnimation(false);
    EXPECT_TRUE(icon_->Animating());
    // The worker takes the first frame, then the second (back to index 0):
    // two frames that must not have reached the shell.
    ASSERT_TRUE(WaitFor([&] { return icon_->AnimationWorker()->FrameIndex() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return icon_->AnimationWorker()->FrameIndex() == 0; }));
    icon_->StopAnimation();
    EXPECT_FALSE(icon_->Animating());
    EXPECT_EQ(icon_->AnimationWorker(), nullptr);
    EXPECT_EQ(shell_.Calls().size(), 0u);
}

TEST_F(TrayAnimationTest, StartAndStopFromAnotherThread) {
    Show();
    // As the interval thread does for an automatic pass.
    constexpr size_t kFrames = 3;
    DWORD stopper = 0;
    bool framesSeen = false;
    DWORD worker = 0;
    std::thread pass([&] {
        stopper = GetCurrentThreadId();
        icon_->StartAnimation(false);
        framesSeen = WaitFor([&] { return shell_.Count(NIM_MODIFY) >= kFrames; });
        worker = icon_->AnimationWorker()->ThreadId();
        icon_->StopAnimation();
    });
    pass.join();
    ASSERT_TRUE(framesSeen) << "the worker sent fewer than " << kFrames << " frames";
    EXPECT_FALSE(icon_->Animating());
    // However many frames a slow machine let through before the stop: they
    // alternate from the first, and the static picture comes last, from the
    // thread that stopped.
    const auto modifies = shell_.Calls(NIM_MODIFY);
    ASSERT_GE(modifies.size(), kFrames + 1);
    for (size_t i = 0; i + 1 < modifies.size(); ++i) {
        EXPECT_EQ(modifies[i].colour, i % 2 == 0 ? kRed : kBlue) << "frame " << i;
        EXPECT_EQ(modifies[i].threadId, worker) << "frame " << i;
    }
    EXPECT_EQ(modifies.back().colour, kStatic);
    EXPECT_EQ(modifies.back().threadId, stopper);
    ExpectSilence();
}

TEST_F(TrayAnimationTest, DestructionDuringAnAnimationEndsTheWorkerAndDeletesTheIcon) {
    Show();
    icon_->StartAnimation(false);
    ASSERT_TRUE(WaitForModifies(2));
    KernelHandle worker(OpenThread(SYNCHRONIZE, FALSE, icon_->AnimationWorker()->ThreadId()));
    ASSERT_TRUE(worker);
    EXPECT_EQ(WaitForSingleObject(worker.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    const UINT id = static_cast<UINT>(icon_->IconId());
    icon_.reset();

    const auto calls = shell_.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls.back().id, id);
    EXPECT_EQ(WaitForSingleObject(worker.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "the worker still runs";
    ExpectSilence();
}

TEST_F(TrayAnimationTest, DestroyingTheFrameListStopsTheAnimationFirst) {
    auto list = std::make_unique<ImageList>();
    AddFrame(*list, kRed);
    AddFrame(*list, kBlue);
    icon_->SetAnimateIcons(list.get());
    Show();
    icon_->StartAnimation(false);
    ASSERT_TRUE(WaitForModifies(2));
    list.reset();
    EXPECT_FALSE(icon_->Animating());
    EXPECT_EQ(icon_->AnimateIcons(), nullptr);
    EXPECT_EQ(shell_.Calls().back().colour, kStatic);
    ExpectSilence();
    icon_->StartAnimation(false);
    EXPECT_FALSE(icon_->Animating());
}

TEST_F(TrayAnimationTest, ARefusedFinalPictureIsReportedAfterTheStop) {
    Show();
    icon_->StartAnimation(true);
    ASSERT_TRUE(WaitForModifies(1));
    shell_.Fail(NIM_MODIFY);
    shell_.Fail(NIM_ADD);
    EXPECT_THROW(icon_->StopAnimation(), KestrinError);
    EXPECT_FALSE(icon_->Animating());
    EXPECT_EQ(icon_->AnimationWorker(), nullptr);
    shell_.FailNone();
}

}  // namespace
