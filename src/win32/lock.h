#pragma once
// A lock between the threads of this process: the system's slim
// reader/writer lock, always taken exclusively. Not recursive, never copied
// or moved, nothing to release at the end. It has std::mutex's lock and
// unlock, so std::lock_guard takes it as it is; Condition waits on it.
#include <windows.h>

namespace kestrin {

class Lock {
public:
    Lock() noexcept = default;
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void lock() noexcept { AcquireSRWLockExclusive(&lock_); }
    void unlock() noexcept { ReleaseSRWLockExclusive(&lock_); }

private:
    friend class Condition;
    SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace kestrin
