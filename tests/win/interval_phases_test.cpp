// Stop and pause requests at every phase of an automatic pass run by the real
// interval thread. A gate in the pass's doubles holds the thread at one point
// of its sweep or ending; the main thread fires the request the controller's
// way, opens the gate and checks the outcome: a stop ends the thread after
// the current batch (its end handler on the main thread), a pause holds it
// before its next pass or second and never inside the pass, every opened
// process is closed and a started animation is stopped. The host animates a
// real tray icon on the desktop's taskbar, so the ending's stop meets the
// main thread blocked in the controller's stop as it does in the program.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/interval_thread.h"
#include "app/portable/compaction_pass.h"
#include "win32/icon_picture.h"
#include "framework/image_list.h"
#include "portable/fake_process_system.h"
#include "support/app_fixture.h"
#include "support/gated_clock.h"
#include "support/tray_support.h"
#include "support/watchdog.h"
#include "support/windows_find.h"
#include "tray/tray_icon.h"

namespace kestrin {
namespace {

using namespace test;

constexpr int kBatch = 2;           // passes per batch
constexpr int kTicksWhileHeld = 3;  // given to a held thread: none may be taken
constexpr DWORD kQuietMs = 200;     // window for "nothing goes on"

enum class Phase { BeforeEnum, AfterOpen, AfterName, AfterEmpty, AfterTrim, AnimationStart, EndingSleep, AnimationStop, BetweenPasses };

// Where a pause that comes during the pass stands the thread: before the next
// pass of the batch, or after the batch at its next one-second wait.
enum class Hold { BeforeNextPass, AtNextSecond };

struct PhaseRow {
    const char* name;
    Phase phase;
    int pass;  // of the batch, from 1
    Hold hold;
    // What the gate itself must see, or it holds somewhere else.
    int openAtGate;
    bool animatingAtGate;
};

constexpr PhaseRow kPhases[] = {
    {"BeforeEnumProcesses", Phase::BeforeEnum, 1, Hold::BeforeNextPass, 0, false},
    {"AfterOpenProcess", Phase::AfterOpen, 1, Hold::BeforeNextPass, 1, false},
    {"AfterNameRead", Phase::AfterName, 1, Hold::BeforeNextPass, 1, false},
    {"AfterEmptyWorkingSet", Phase::AfterEmpty, 1, Hold::BeforeNextPass, 1, false},
    {"AfterSetProcessWorkingSetSize", Phase::AfterTrim, 1, Hold::BeforeNextPass, 1, false},
    {"AtStartAnimation", Phase::AnimationStart, 1, Hold::BeforeNextPass, 0, true},
    {"DuringEndingSleep", Phase::EndingSleep, 1, Hold::BeforeNextPass, 0, true},
    {"AtStopAnimation", Phase::AnimationStop, 1, Hold::BeforeNextPass, 0, true},
    {"BetweenTwoPasses", Phase::BetweenPasses, 1, Hold::BeforeNextPass, 0, false},
    {"LastPassAfterOpenProcess", Phase::AfterOpen, kBatch, Hold::AtNextSecond, 1, false},
    {"LastPassDuringEndingSleep", Phase::EndingSleep, kBatch, Hold::AtNextSecond, 0, true},
};

enum class Step {
    Pause,   // the controller's PauseInterval (About box, notice)
    Resume,
    Stop,    // the controller's StopIntervalThread; opens a gate that still holds
    Open,    // lets the held pass go on
    Held,    // stands at its pause with the passes up to the phase whole; takes no tick
    Counts,  // the batch done, then every tick given counted, the paused ones not
    EndsAfterBatch,
    EndsAtHold,  // the rest of the batch dropped
};

struct RequestRow {
    const char* name;
    std::vector<Step> steps;
};

const RequestRow kRequests[] = {
    {"Stop", {Step::Stop, Step::EndsAfterBatch}},
    {"Pause", {Step::Pause, Step::Open, Step::Held}},
    {"PauseResume", {Step::Pause, Step::Open, Step::Held, Step::Resume, Step::Counts}},
    {"PauseTwiceResumeTwice",
     {Step::Pause, Step::Pause, Step::Open, Step::Held, Step::Resume, Step::Held, Step::Resume, Step::Counts}},
    {"StopWhilePaused", {Step::Pause, Step::Open, Step::Held, Step::Stop, Step::EndsAtHold}},
};

// Counts the passes and holds the interval thread at one phase of one pass.
class PhaseGate {
public:
    PhaseGate(Phase phase, int pass) : phase_(phase), pass_(pass) {}
    std::atomic<int> Started{0};
    std::atomic<int> Ended{0};
    std::atomic<bool> TimedOut{false};

    void BeginPass() { ++Started; }
    void EndPass() {
        ++Ended;
        At(Phase::BetweenPasses);
    }
    // On the interval thread: holds there the first time the phase comes in its pass.
    void At(Phase phase) {
        std::unique_lock lock(mutex_);
        if (state_ != State::Armed || phase != phase_ || Started != pass_) return;
        state_ = State::Holding;
        if (!changed_.wait_for(lock, std::chrono::milliseconds(kGenerousMs), [&] { return state_ == State::Open; })) {
            TimedOut = true;
            state_ = State::Open;
        }
    }
    void Open() {
        {
            std::lock_guard lock(mutex_);
            if (state_ == State::Holding) state_ = State::Open;
        }
        changed_.notify_all();
    }
    bool Holding() const {
        std::lock_guard lock(mutex_);
        return state_ == State::Holding;
    }

private:
    enum class State { Armed, Holding, Open };

    const Phase phase_;
    const int pass_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    State state_ = State::Armed;
};

class GatedProcessSystem : public fakes::FakeProcessSystem {
public:
    explicit GatedProcessSystem(PhaseGate& gate) : gate_(gate) {
        LogEnabled = false;
        ReportedIds = {12, 4, 8};
    }
    bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t* returned) override {
        gate_.At(Phase::BeforeEnum);
        return FakeProcessSystem::EnumProcesses(ids, bytes, returned);
    }
    uintptr_t OpenProcess(uint32_t access, uint32_t pid) override {
        const uintptr_t handle = FakeProcessSystem::OpenProcess(access, pid);
        gate_.At(Phase::AfterOpen);
        return handle;
    }
    uint32_t ModuleBaseName(uintptr_t process, uintptr_t module, char* buffer, uint32_t size) override {
        const uint32_t length = FakeProcessSystem::ModuleBaseName(process, module, buffer, size);
        gate_.At(Phase::AfterName);
        return length;
    }
    bool EmptyWorkingSet(uintptr_t process) override {
        const bool emptied = FakeProcessSystem::EmptyWorkingSet(process);
        gate_.At(Phase::AfterEmpty);
        return emptied;
    }
    bool TrimWorkingSet(uintptr_t process) override {
        const bool trimmed = FakeProcessSystem::TrimWorkingSet(process);
        gate_.At(Phase::AfterTrim);
        return trimmed;
    }

private:
    PhaseGate& gate_;
};

thread_local bool tlsOnIntervalThread = false;

// The controller's side of an automatic pass, with the real tray icon.
class GatedHost : public PassHost {
public:
    GatedHost(PhaseGate& gate, TTrayIcon& icon) : gate_(gate), icon_(icon) {}
    std::atomic<int> Starts{0};
    std::atomic<int> Stops{0};
    std::atomic<int> Unexpected{0};  // user-way or failure calls

    bool OnIntervalThread() override { return tlsOnIntervalThread; }
    bool HasIntervalThread() override {
        ++Unexpected;
        return true;
    }
    void PauseInterval() override { ++Unexpected; }
    void ResumeInterval() override { ++Unexpected; }
    void ShowNotice(bool) override { ++Unexpected; }
    bool Animating() override { return icon_.Animating(); }
    void StartAnimation() override {
        icon_.StartAnimation(false);
        ++Starts;
        gate_.At(Phase::AnimationStart);
    }
    void StopAnimation() override {
        gate_.At(Phase::AnimationStop);
        icon_.StopAnimation();
        ++Stops;
    }
    void Sleep(uint32_t) override { gate_.At(Phase::EndingSleep); }
    void FailPass(const std::string&) override { ++Unexpected; }

private:
    PhaseGate& gate_;
    TTrayIcon& icon_;
};

// Notes the thread its end handler runs on, and lets a watchdog resume it
// for as long as the object lives.
class RecordingThread : public TTThread {
public:
    struct Links {
        std::atomic<DWORD> endedOn{0};
        std::mutex mutex;
        RecordingThread* alive = nullptr;  // under mutex
    };
    RecordingThread(SharedState& state, std::function<void()> pass, std::unique_ptr<IntervalClock> clock, Links& links)
        : TTThread(state, std::move(pass), std::move(clock)), links_(links) {
        std::lock_guard lock(links_.mutex);
        links_.alive = this;
    }
    ~RecordingThread() override {
        std::lock_guard lock(links_.mutex);
        links_.alive = nullptr;
    }
    // From any thread: every pause undone, if the thread is still there.
    static void ResumeAll(Links& links) {
        std::lock_guard lock(links.mutex);
        if (!links.alive) return;
        for (int i = 0; i < 8 && links.alive->Paused(); ++i) links.alive->Resume();
    }

protected:
    void ThreadEnded() override {
        links_.endedOn = GetCurrentThreadId();
        TTThread::ThreadEnded();
    }

private:
    Links& links_;
};

class IntervalPhasesTest : public AppTest, public ::testing::WithParamInterface<std::tuple<PhaseRow, RequestRow>> {
protected:
    IntervalPhasesTest() : row_(std::get<0>(GetParam())), gate_(row_.phase, row_.pass), system_(gate_) {}

    void SetUp() override {
        AppTest::SetUp();
        owner_.Create();
        // The desktop shows its taskbar once the process has a window.
        ASSERT_NE(WaitForWindow("Shell_TrayWnd", nullptr, kGenerousMs), nullptr);
        for (uint32_t colour : {0xFF0000u, 0x0000FFu}) {
            IconHandle frame = SolidIcon(colour);
            ASSERT_GE(frames_.AddIcon(frame.get()), 0);
        }
        icon_ = std::make_unique<TTrayIcon>(owner_);
        IconPicture picture;
        picture.Adopt(SolidIcon(0x00FF00));
        icon_->SetIcon(&picture);
        icon_->SetAnimateIcons(&frames_);
        icon_->SetAnimateRate(TTrayIcon::kMinAnimateRate);
        icon_->SetVisible(true);
        ASSERT_TRUE(icon_->IconAdded());
        host_ = std::make_unique<GatedHost>(gate_, *icon_);

        state_.AppSettings.IntervalMinutes = 1;
        state_.AppSettings.PassCount = kBatch;
        thread_ = std::make_unique<RecordingThread>(
            state_,
            [this] {
                tlsOnIntervalThread = true;
                gate_.BeginPass();
                Compact(system_, *host_, state_);
                gate_.EndPass();
            },
            clock_.Lend(), links_);
    }

    void TearDown() override {
        gate_.Open();
        clock_.FreeRun();
        if (thread_) StopTheControllersWay();
        icon_.reset();
        AppTest::TearDown();
    }

    // TMemCMain::StopIntervalThread: blocks until the thread has ended. A gate
    // that still holds opens from another thread once the request is in.
    void StopTheControllersWay() {
        std::thread opener;
        if (gate_.Holding()) {
            opener = std::thread([this] {
                WaitFor([&] { return state_.StopRequested.load(); }, kGenerousMs, Pump::None);
                gate_.Open();
            });
        }
        {
            Watchdog dog([this] {
                gate_.Open();
                clock_.FreeRun();
                RecordingThread::ResumeAll(links_);
            });
            state_.StopRequested = true;
            StopIntervalThreadAndWait(thread_);
            EXPECT_FALSE(dog.Fired()) << "the stop hung";
        }
        if (opener.joinable()) opener.join();
    }

    void ExpectHeld() {
        if (!ticksGiven_) {
            // After the batch the pause is taken once the next wait is over.
            if (row_.hold == Hold::AtNextSecond) clock_.Give(1);
            ASSERT_TRUE(WaitFor([&] { return thread_->HeldByPause(); })) << "the pause never held the thread";
            heldAtTick_ = clock_.Completed();
            clock_.Give(kTicksWhileHeld);
            ticksGiven_ = true;
        }
        EXPECT_EQ(gate_.Started.load(), row_.pass) << "a pass started while paused";
        EXPECT_EQ(gate_.Ended.load(), gate_.Started.load()) << "the pause held the thread inside its pass";
        EXPECT_FALSE(icon_->Animating());
        EXPECT_TRUE(HoldsFor(
            [&] {
                return thread_->HeldByPause() && gate_.Started == row_.pass && clock_.Completed() == heldAtTick_ &&
                       clock_.TicksLeft() == kTicksWhileHeld;
            },
            kQuietMs))
            << "the paused thread went on";
    }

    void ExpectCounting() {
        ASSERT_TRUE(clock_.WaitIdleAfter(heldAtTick_ + kTicksWhileHeld)) << "the resumed thread did not go on";
        EXPECT_EQ(gate_.Started.load(), kBatch);
        EXPECT_EQ(gate_.Ended.load(), kBatch);
        EXPECT_EQ(state_.SecondsElapsed.load(), static_cast<uint32_t>(kTicksWhileHeld)) << "paused seconds were counted";
    }

    void ExpectEnded(int passes) {
        EXPECT_EQ(thread_, nullptr);
        EXPECT_EQ(links_.endedOn.load(), GetCurrentThreadId()) << "the end handler did not run on the main thread";
        EXPECT_EQ(gate_.Started.load(), passes);
        EXPECT_EQ(gate_.Ended.load(), passes);
        // Ended without a further wait: after the batch, or where it was held.
        EXPECT_EQ(clock_.Completed(), ticksGiven_ ? heldAtTick_ : 60);
    }

    void Run(Step step) {
        switch (step) {
            case Step::Pause: thread_->Pause(); break;
            case Step::Resume: thread_->Resume(); break;
            case Step::Stop: StopTheControllersWay(); break;
            case Step::Open: gate_.Open(); break;
            case Step::Held: ExpectHeld(); break;
            case Step::Counts: ExpectCounting(); break;
            case Step::EndsAfterBatch: ExpectEnded(kBatch); break;
            case Step::EndsAtHold: ExpectEnded(row_.pass); break;
        }
    }

    const PhaseRow row_;
    TrayOwnerForm owner_;
    ImageList frames_;
    std::unique_ptr<TTrayIcon> icon_;
    PhaseGate gate_;
    GatedProcessSystem system_;
    std::unique_ptr<GatedHost> host_;
    GatedClock clock_;
    SharedState state_;
    RecordingThread::Links links_;
    std::unique_ptr<TTThread> thread_;  // last: gone before everything it uses
    bool ticksGiven_ = false;
    int heldAtTick_ = 0;
};

TEST_P(IntervalPhasesTest, RequestAtThePhase) {
    clock_.Give(60);
    ASSERT_TRUE(WaitFor([&] { return gate_.Holding(); })) << "the pass never reached the phase";
    EXPECT_EQ(system_.Opens - system_.Closes, row_.openAtGate);
    EXPECT_EQ(icon_->Animating(), row_.animatingAtGate);

    for (Step step : std::get<1>(GetParam()).steps) {
        Run(step);
        if (HasFatalFailure()) return;
    }

    EXPECT_FALSE(gate_.TimedOut) << "the gate was never opened";
    EXPECT_EQ(system_.Opens, 3 * gate_.Ended.load());
    EXPECT_EQ(system_.Closes, system_.Opens) << "an opened process was left open";
    EXPECT_EQ(system_.BadCloses, 0);
    EXPECT_EQ(host_->Starts.load(), gate_.Ended.load());
    EXPECT_EQ(host_->Stops.load(), host_->Starts.load()) << "a started animation was not stopped";
    EXPECT_FALSE(icon_->Animating());
    EXPECT_EQ(host_->Unexpected.load(), 0) << "an automatic pass took the user's way";
    EXPECT_TRUE(errors_.empty());
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<PhaseRow, RequestRow>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, IntervalPhasesTest,
                         ::testing::Combine(::testing::ValuesIn(kPhases), ::testing::ValuesIn(kRequests)), CaseName);

}  // namespace
}  // namespace kestrin
