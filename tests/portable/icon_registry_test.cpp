// Identifiers of tray icons, the tip as the shell gets it, the notify flags
// and the animation's frame index.
#include <gtest/gtest.h>

#include <string>

#include "win32/portable/error.h"
#include "tray/portable/icon_registry.h"

namespace kestrin {
namespace {

int a, b, c, d;  // stand-ins for tray icon objects
using TrayIconRegistry = IconRegistry<int>;

TEST(TrayIconRegistry, IdentifiersCountUpFromOne) {
    TrayIconRegistry registry;
    EXPECT_EQ(registry.Register(&a), 1);
    EXPECT_EQ(registry.Register(&b), 2);
    EXPECT_EQ(registry.Register(&c), 3);
    EXPECT_EQ(registry.Find(1), &a);
    EXPECT_EQ(registry.Find(2), &b);
    EXPECT_EQ(registry.Find(3), &c);
}

TEST(TrayIconRegistry, NextIdentifierFollowsTheLastEntryNotTheHighestEver) {
    TrayIconRegistry middleGone;
    middleGone.Register(&a);
    middleGone.Register(&b);
    middleGone.Register(&c);
    middleGone.Unregister(2);
    EXPECT_EQ(middleGone.Register(&d), 4);

    TrayIconRegistry lastGone;
    lastGone.Register(&a);
    lastGone.Register(&b);
    lastGone.Register(&c);
    lastGone.Unregister(3);
    EXPECT_EQ(lastGone.Register(&d), 3);
    EXPECT_EQ(lastGone.Find(3), &d);

    TrayIconRegistry allGone;
    allGone.Register(&a);
    allGone.Register(&b);
    allGone.Unregister(1);
    allGone.Unregister(2);
    EXPECT_EQ(allGone.Register(&c), 1);
}

TEST(TrayIconRegistry, UnknownIdentifiersFindNothingAndRemoveNothing) {
    TrayIconRegistry registry;
    EXPECT_EQ(registry.Find(1), nullptr);
    registry.Register(&a);
    registry.Register(&b);
    registry.Unregister(2);
    EXPECT_EQ(registry.Find(2), nullptr);
    registry.Unregister(7);
    registry.Unregister(-1);
    EXPECT_EQ(registry.Find(0), nullptr);
    EXPECT_EQ(registry.Find(0xFFFFFFFFu), nullptr);
    EXPECT_EQ(registry.Find(1), &a);
}

TEST(TrayIconRegistry, TheHundredAndFirstIconIsRefusedAndLeavesNoEntry) {
    TrayIconRegistry registry;
    int icons[101];
    for (int i = 0; i < 100; ++i) ASSERT_EQ(registry.Register(&icons[i]), i + 1);
    try {
        registry.Register(&icons[100]);
        FAIL() << "a 101st icon was registered";
    } catch (const KestrinError& error) {
        EXPECT_STREQ(error.what(), "タスクトレイにアイコンを登録できません。");
    }
    EXPECT_EQ(registry.Find(101), nullptr);
    EXPECT_EQ(registry.Find(100), &icons[99]);

    registry.Unregister(50);
    EXPECT_EQ(registry.Register(&icons[100]), 101);
    EXPECT_EQ(registry.Find(101), &icons[100]);
}

TEST(TrayTip, LongTipIsCutToSixtyTwoBytes) {
    const std::string tip(70, 'k');
    EXPECT_EQ(CutTip(tip), std::string(62, 'k'));
    EXPECT_EQ(CutTip(std::string(62, 'k')), std::string(62, 'k'));
    EXPECT_EQ(CutTip("Kestrin"), "Kestrin");
    EXPECT_EQ(CutTip(""), "");
}

TEST(TrayTip, HalfACharacterNeverReachesTheShell) {
    // "亜" is 88 9F: its trail byte lies in the lead-byte range as well.
    const std::string a61(61, 'a');
    EXPECT_EQ(CutTip(a61 + "亜亜"), a61);  // byte 62 would be a lone lead byte
    const std::string a60(60, 'a');
    EXPECT_EQ(CutTip(a60 + "亜亜"), a60 + "亜");  // byte 62 is a trail byte: kept
    EXPECT_EQ(CutTip(a61 + "表"), a61);
}

TEST(TrayTip, AllDoubleByteTipKeepsWholeCharacters) {
    std::string tip;
    for (int i = 0; i < 40; ++i) tip += "表";  // 80 bytes, every trail byte a '\'
    const std::string cut = CutTip(tip);
    EXPECT_EQ(cut.size(), 62u);
    EXPECT_EQ(cut, tip.substr(0, 62));
}

TEST(TrayTip, FlagsCarryTheTipOnlyWhenThereIsOne) {
    EXPECT_EQ(NotifyFlagsFor(""), 3u);
    EXPECT_EQ(NotifyFlagsFor("Kestrin"), 7u);
}

TEST(TrayAnimationFrames, FramesCycleThroughTheList) {
    EXPECT_EQ(NextFrameIndex(0, 2), 1);
    EXPECT_EQ(NextFrameIndex(1, 2), 0);
    EXPECT_EQ(NextFrameIndex(0, 1), 0);
    EXPECT_EQ(NextFrameIndex(1, 3), 2);
    EXPECT_EQ(NextFrameIndex(2, 3), 0);
}

TEST(TrayAnimationFrames, ShrunkenListStartsAgainAtTheFirstFrame) {
    EXPECT_EQ(ClampFrameIndex(1, 2), 1);
    EXPECT_EQ(ClampFrameIndex(2, 2), 0);
    EXPECT_EQ(ClampFrameIndex(1, 1), 0);
    EXPECT_EQ(ClampFrameIndex(0, 1), 0);
    EXPECT_EQ(ClampFrameIndex(5, 3), 0);
}

}  // namespace
}  // namespace kestrin
