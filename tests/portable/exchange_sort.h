#pragma once
// The quadratic exchange sort the pass was first written with: for every
// position i, each later ID smaller than the one at i is swapped into i.
// Kept as the reference the program's sort must agree with.
#include <cstdint>
#include <span>
#include <utility>

namespace kestrin::fakes {

inline void ExchangeSort(std::span<uint32_t> ids) {
    for (std::size_t i = 0; i < ids.size(); ++i) {
        for (std::size_t j = i; j < ids.size(); ++j) {
            if (ids[j] < ids[i]) std::swap(ids[i], ids[j]);
        }
    }
}

}  // namespace kestrin::fakes
