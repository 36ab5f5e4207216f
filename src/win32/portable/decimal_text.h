#pragma once
// An integer as decimal text, with a sign only when it is negative: what
// std::to_string gives, from one function for every integer type (each type
// of std::to_string is a copy of its own in the program).
#include <cstdint>
#include <string>

namespace kestrin {

std::string DecimalText(int64_t value);

}  // namespace kestrin
