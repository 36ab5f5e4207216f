#include "tray/tray_icon_animation.h"

#include <shellapi.h>

#include <mutex>

#include "framework/image_list.h"
#include "tray/portable/icon_registry.h"
#include "win32/diagnostics.h"

namespace kestrin {

TTrayIconAnimate::TTrayIconAnimate(AnimatedIcon& owner) : owner_(owner), thread_([this] { Execute(); }) {}

TTrayIconAnimate::~TTrayIconAnimate() {
    {
        std::lock_guard lock(mutex_);
        endRequested_ = true;
    }
    changed_.NotifyAll();
    thread_.Join();
}

void TTrayIconAnimate::Resume() {
    {
        std::lock_guard lock(mutex_);
        wakeRequested_ = true;
    }
    changed_.NotifyAll();
}

void TTrayIconAnimate::WaitUntilParked() {
    {
        std::lock_guard lock(mutex_);
        // Holding a single frame: one more cycle, which sees the stop and parks.
        // Between two frames: the notification cuts the pause short.
        if (parked_) wakeRequested_ = true;
        changed_.NotifyAll();
    }
    // Messages other threads send to this one are delivered meanwhile: the
    // shell, in the middle of the worker's frame, may be waiting for an
    // answer from this thread's windows.
    const auto done = [this] { return (parked_ && !wakeRequested_) || finished_; };
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (changed_.WaitFor(mutex_, 10, done)) break;
        }
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool TTrayIconAnimate::Parked() const {
    std::lock_guard lock(mutex_);
    return parked_ && !wakeRequested_;
}

void TTrayIconAnimate::Execute() {
    threadId_.store(GetCurrentThreadId());
    // Created parked: the first StartAnimation lets it go.
    bool running = Park();
    while (running) {
        {
            std::lock_guard lock(mutex_);
            if (endRequested_) break;
        }
        if (!owner_.Animating()) {
            frameIndex_.store(0);
            running = Park();
            continue;
        }
        ImageList* list = owner_.AnimateIcons();
        const int32_t count = list ? list->Count() : 0;
        int32_t index = ClampFrameIndex(frameIndex_.load(), count);
        try {
            if (count > 0) ShowFrame(list->CopyIcon(index));
        } catch (...) {
            // A frame that cannot be made or sent is simply not shown.
            TraceError("frame not shown");
        }
        frameIndex_.store(NextFrameIndex(index, count));
        if (owner_.SingleStep())
            running = Park();
        else
            Pause();
    }
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.NotifyAll();
}

bool TTrayIconAnimate::Park() {
    std::lock_guard lock(mutex_);
    parked_ = true;
    changed_.NotifyAll();
    changed_.Wait(mutex_, [this] { return wakeRequested_ || endRequested_; });
    if (endRequested_) return false;
    wakeRequested_ = false;
    parked_ = false;
    return true;
}

void TTrayIconAnimate::Pause() {
    // The rate is read anew for every frame.
    const int32_t rate = owner_.AnimateRate();
    std::lock_guard lock(mutex_);
    changed_.WaitFor(mutex_, rate > 0 ? static_cast<uint32_t>(rate) : 0,
                     [this] { return endRequested_ || !owner_.Animating(); });
}

void TTrayIconAnimate::ShowFrame(IconHandle frame) {
    owner_.PresentFrame([&] {
        // The old frame is destroyed here, under the owner's lock, so no
        // other thread is handing its handle to the shell at this moment. A
        // frame that could not be copied (the list shrank meanwhile) leaves
        // the last one.
        if (frame) frameIcon_.Adopt(std::move(frame));
        return frameIcon_.Handle();
    });
}

}  // namespace kestrin
