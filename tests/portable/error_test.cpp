#include <gtest/gtest.h>

#include "win32/portable/error.h"

using kestrin::KestrinError;

TEST(KestrinError, FormatPutsTheArgumentInPlaceOfTheMarkerAndTheTraceNamesTheCodeAndThePlace) {
    KestrinError e = KestrinError::Format("%s に書き込めません", "C:\\表\\Kestrin.ini", 5);
    const std::string raisedAt = "tests/portable/error_test.cpp:" + std::to_string(__LINE__ - 1) + ")";
    EXPECT_STREQ(e.what(), "C:\\表\\Kestrin.ini に書き込めません");
    EXPECT_EQ(kestrin::DescribeError(std::make_exception_ptr(e)), std::string(e.what()) + " (system error 5, " + raisedAt);
}

TEST(KestrinError, FormatWithoutMarkerKeepsThePattern) {
    EXPECT_STREQ(KestrinError::Format("no marker", "x").what(), "no marker");
}

TEST(KestrinError, FormatReplacesOnlyTheFirstMarkerAndKeepsWhatSurroundsIt) {
    const struct {
        const char* pattern;
        const char* arg;
        const char* text;
    } rows[] = {
        {"ウィンドウ %s を作成できません。", "TApplication", "ウィンドウ TApplication を作成できません。"},
        {"%s", "", ""},
        {"a%sb%sc", "-", "a-b%sc"},
        {"%", "x", "%"},
        {"end %s", "表", "end 表"},
    };
    for (const auto& row : rows) EXPECT_STREQ(KestrinError::Format(row.pattern, row.arg).what(), row.text) << row.pattern;
}
