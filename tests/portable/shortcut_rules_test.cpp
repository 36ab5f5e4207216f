// The shortcut dialog's flag word and the paths of its four files.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/portable/shortcut_rules.h"

namespace kestrin {
namespace {

TEST(ShortcutRules, AClickSetsItsBitOrClearsItsWholeDigit) {
    struct Case {
        uint32_t Before, Bit;
        bool Checked;
        uint32_t After;
    } cases[] = {
        {0x0000, 0x0001, true, 0x0001},  {0x1111, 0x0001, false, 0x1110},
        {0x0100, 0x0010, true, 0x0110},  {0x1111, 0x0010, false, 0x1101},
        {0x0000, 0x0100, true, 0x0100},  {0x1111, 0x0100, false, 0x1011},
        {0x0011, 0x1000, true, 0x1011},  {0x1111, 0x1000, false, 0x0111},
        // A stray bit in a digit goes with the digit, other digits stay.
        {0xF2F3, 0x0010, false, 0xF203}, {0x0001, 0x0001, true, 0x0001},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortcutFlagsAfterClick(c.Before, c.Bit, c.Checked), c.After)
            << std::hex << c.Before << " bit " << c.Bit << " checked " << c.Checked;
}

TEST(ShortcutRules, APathIsTheFolderAndTheNameOrNothing) {
    EXPECT_EQ(ShortcutPath("C:\\Users\\u\\Desktop", "\\Kestrin.lnk"), "C:\\Users\\u\\Desktop\\Kestrin.lnk");
    // No folder: never a shortcut in the root of the current drive.
    EXPECT_EQ(ShortcutPath("", "\\Kestrin.lnk"), std::nullopt);

    // 260 bytes fit the 261-byte buffers; 261 would be cut to another name.
    const std::string name = "\\Kestrin(非常駐).lnk";
    const std::string fits(kMaxShortcutText - name.size(), 'd');
    EXPECT_EQ(ShortcutPath(fits, name), fits + name);
    EXPECT_EQ(ShortcutPath(fits + "d", name), std::nullopt);
    EXPECT_TRUE(FitsShortcutBuffer(std::string(260, 'x')));
    EXPECT_FALSE(FitsShortcutBuffer(std::string(261, 'x')));
}

}  // namespace
}  // namespace kestrin
