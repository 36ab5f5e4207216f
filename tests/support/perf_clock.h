#pragma once
// The performance counter, for timings measured from the outside.
#include <windows.h>

namespace kestrin::test {

inline LONGLONG PerfNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Milliseconds from one reading of PerfNow to a later one.
inline double PerfMs(LONGLONG from, LONGLONG to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace kestrin::test
