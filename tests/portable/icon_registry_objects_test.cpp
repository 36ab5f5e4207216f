// The registry's list of live icons, which the taskbar's re-creation walks
// to add every shown icon again.
#include <gtest/gtest.h>

#include <vector>

#include "tray/portable/icon_registry.h"

namespace kestrin {
namespace {

TEST(TrayIconRegistryObjects, LiveIconsInCreationOrder) {
    IconRegistry<int> registry;
    int a = 0, b = 0, c = 0;
    EXPECT_TRUE(registry.Objects().empty());
    registry.Register(&a);
    const int32_t idB = registry.Register(&b);
    registry.Register(&c);
    EXPECT_EQ(registry.Objects(), (std::vector<int*>{&a, &b, &c}));
    registry.Unregister(idB);
    EXPECT_EQ(registry.Objects(), (std::vector<int*>{&a, &c}));
    registry.Register(&b);  // comes back last, with a new identifier
    EXPECT_EQ(registry.Objects(), (std::vector<int*>{&a, &c, &b}));
}

}  // namespace
}  // namespace kestrin
