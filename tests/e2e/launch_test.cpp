#include <gtest/gtest.h>

#include "support/kestrin_process.h"

using namespace kestrin::test;

TEST(Launch, PlaceholderRunsAndReports) {
    KestrinProcess k;
    ASSERT_TRUE(k.Started());
    ASSERT_TRUE(k.WaitForExit(20000));
    EXPECT_EQ(k.ExitCode(), 3u);
    EXPECT_EQ(k.CountLines("Kestrin: placeholder"), 1u);
}
