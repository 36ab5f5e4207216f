// The pass's sort must give exactly the order of the exchange sort it
// replaces, duplicates and IDs with the top bit set included.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/portable/compaction_pass.h"
#include "exchange_sort.h"

namespace kestrin {
namespace {

std::vector<uint32_t> RandomIds(std::mt19937& random, std::size_t count, uint32_t maxId) {
    std::uniform_int_distribution<uint32_t> pick(0, maxId);
    std::vector<uint32_t> ids(count);
    for (auto& id : ids) id = pick(random);
    return ids;
}

TEST(ProcessSort, AgreesWithTheExchangeSortOnRandomData) {
    std::mt19937 random(20240611);
    for (const std::size_t count : {0u, 1u, 2u, 3u, 17u, 256u, 3000u}) {
        // A narrow range forces many duplicates; the full range puts IDs on
        // both sides of 0x80000000, where a signed comparison would differ.
        for (const uint32_t maxId : {7u, 0xFFFFFFFFu}) {
            SCOPED_TRACE(testing::Message() << count << " IDs up to " << maxId);
            std::vector<uint32_t> ours = RandomIds(random, count, maxId);
            std::vector<uint32_t> reference = ours;
            SortProcessIds(ours);
            kestrin::fakes::ExchangeSort(reference);
            EXPECT_EQ(ours, reference);
        }
    }
}

TEST(ProcessSort, ComparesUnsigned) {
    std::vector<uint32_t> ids{0x80000000u, 5, 0xFFFFFFFFu, 0, 5};
    SortProcessIds(ids);
    EXPECT_EQ(ids, (std::vector<uint32_t>{0, 5, 5, 0x80000000u, 0xFFFFFFFFu}));
}

TEST(ProcessSort, SortsOnlyTheGivenSpan) {
    std::vector<uint32_t> ids{9, 3, 1, 0, 0};
    SortProcessIds(std::span<uint32_t>(ids.data(), 3));
    EXPECT_EQ(ids, (std::vector<uint32_t>{1, 3, 9, 0, 0}));
}

}  // namespace
}  // namespace kestrin
