#include "app/portable/interval_loop.h"

namespace kestrin {

IntervalClock::~IntervalClock() = default;

}  // namespace kestrin
