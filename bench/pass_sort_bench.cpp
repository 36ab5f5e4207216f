// Sorting a full process-ID buffer: the quadratic exchange sort the pass was
// first written with against the program's sort. Prints both times and
// their ratio; it measures, it asserts nothing.
//   pass_sort_bench [count]   (default 65536, the size of the ID buffer)
#include <thread>  // brings the clocks (<chrono> itself has no cp932 form)
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/portable/compaction_pass.h"
#include "portable/exchange_sort.h"

namespace {

template <class Sort>
double Milliseconds(std::vector<uint32_t> ids, Sort sort, std::vector<uint32_t>& sorted) {
    const auto start = std::chrono::steady_clock::now();
    sort(ids);
    const auto end = std::chrono::steady_clock::now();
    sorted = std::move(ids);
    return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : kestrin::MaxProcessIds;

    // Real ID lists are multiples of 4; duplicates do not occur there but
    // cost the exchange sort nothing extra, so plain random IDs will do.
    std::mt19937 random(4242);
    std::uniform_int_distribution<uint32_t> pick;
    std::vector<uint32_t> ids(count);
    for (auto& id : ids) id = pick(random) & ~3u;

    std::vector<uint32_t> byExchange, byProgram;
    const double exchange = Milliseconds(ids, [](std::vector<uint32_t>& v) { kestrin::fakes::ExchangeSort(v); }, byExchange);
    const double program = Milliseconds(ids, [](std::vector<uint32_t>& v) { kestrin::SortProcessIds(v); }, byProgram);

    std::printf("%zu process IDs\n", count);
    std::printf("%-16s %12s\n", "sort", "ms");
    std::printf("%-16s %12.3f\n", "exchange sort", exchange);
    std::printf("%-16s %12.3f\n", "program's sort", program);
    std::printf("ratio exchange / program: %.1f\n", program > 0 ? exchange / program : 0.0);
    if (byExchange != byProgram) {
        std::printf("the two sorts disagree\n");
        return 1;
    }
    return 0;
}
