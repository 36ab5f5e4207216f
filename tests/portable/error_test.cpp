#include <gtest/gtest.h>

#include "platform/portable/error.h"

using kestrin::KestrinError;

TEST(KestrinError, FormatPutsTheArgumentInPlaceOfTheMarker) {
    KestrinError e = KestrinError::Format("%s に書き込めません", "C:\\表\\Kestrin.ini");
    EXPECT_STREQ(e.what(), "C:\\表\\Kestrin.ini に書き込めません");
}

TEST(KestrinError, FormatWithoutMarkerKeepsThePattern) {
    EXPECT_EQ(KestrinError::Format("no marker", "x").Message(), "no marker");
}
