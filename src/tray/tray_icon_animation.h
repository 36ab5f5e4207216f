#pragma once
// TTrayIconAnimate: the worker thread that sends a tray icon's animation
// frames to the shell, so that the icon keeps changing while the thread that
// started the animation is blocked. Created parked by the icon's first
// StartAnimation, reused by every later one, ended by the icon's destructor.
//
// "Parked" replaces the suspension of a thread by itself: the worker waits
// on a condition variable, so whoever resumes it or waits for it to park
// has a real wait and nothing is ever stopped half-way through a call.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>

#include "win32/condition.h"
#include "win32/handles.h"
#include "win32/icon_picture.h"
#include "win32/lock.h"
#include "win32/worker_thread.h"

namespace kestrin {

class ImageList;

// What the worker reads of its tray icon, and how it hands a frame over.
class AnimatedIcon {
public:
    virtual bool Animating() const noexcept = 0;
    virtual bool SingleStep() const noexcept = 0;
    virtual int32_t AnimateRate() const noexcept = 0;
    virtual ImageList* AnimateIcons() const noexcept = 0;
    // Under the icon's own lock: `takeFrame` stores the new frame in the
    // worker and gives its handle, which the icon sends to the shell when
    // it is in the tray (a refusal is ignored).
    virtual void PresentFrame(const std::function<HICON()>& takeFrame) = 0;

protected:
    ~AnimatedIcon() = default;
};

class TTrayIconAnimate {
public:
    explicit TTrayIconAnimate(AnimatedIcon& owner);
    // Asks the worker to end, wakes it and waits for it.
    ~TTrayIconAnimate();
    TTrayIconAnimate(const TTrayIconAnimate&) = delete;
    TTrayIconAnimate& operator=(const TTrayIconAnimate&) = delete;

    // Lets the parked worker run its next cycle.
    void Resume();
    // For a stop: the owner's Animating is false by now. Wakes the worker
    // wherever it waits (holding a single frame, or between two frames) and
    // returns once it has parked, after which it sends nothing more.
    void WaitUntilParked();

    bool Parked() const;
    // Index in the image list of the next frame (0 when parked after a stop).
    int32_t FrameIndex() const noexcept { return frameIndex_.load(); }
    DWORD ThreadId() const noexcept { return threadId_.load(); }

    // The frame most recently taken from the list; only under the owner's lock.
    HICON FrameHandleLocked() const noexcept { return frameIcon_.Handle(); }

private:
    void Execute();
    // Waits, parked, until resumed; false when asked to end.
    bool Park();
    // Waits the owner's AnimateRate, cut short by a stop or the end.
    void Pause();
    void ShowFrame(IconHandle frame);

    AnimatedIcon& owner_;
    std::atomic<int32_t> frameIndex_{0};
    std::atomic<DWORD> threadId_{0};
    IconPicture frameIcon_;  // only under the owner's lock (PresentFrame)

    mutable Lock mutex_;
    Condition changed_;
    bool parked_ = true;       // created parked
    bool wakeRequested_ = false;
    bool endRequested_ = false;
    bool finished_ = false;

    WorkerThread thread_;  // last: starts once everything above exists
};

}  // namespace kestrin
