#pragma once
// The program's waits. A wait on the main thread must not starve it: the
// calls that workers synchronise onto it (a thread's end handler, say) and
// the messages other threads send to its windows keep running meanwhile.
#include <windows.h>

#include <cstdint>
#include <initializer_list>

namespace kestrin {

// Waits until one of `handles` (null ones are left out) is signalled and
// returns its index in the list; -1 when the system cannot wait on them.
// On the main thread synchronised calls and sent messages run meanwhile;
// posted messages stay queued.
int WaitForAny(std::initializer_list<HANDLE> handles);

enum class TickWait { NoMessages, HandleMessages };

// Waits until the tick count has advanced by at least `ms` (an unsigned
// difference, so the counter's wrap does not matter), handling the
// application's messages in every step or none at all.
void WaitTicks(uint32_t ms, TickWait mode);

}  // namespace kestrin
