// Which HtmlHelp call a help request becomes.
#include <gtest/gtest.h>

#include "app/portable/help_topics.h"

namespace kestrin {
namespace {

TEST(HelpTopics, ContextsOpenTheirPagesAndEverythingElsePassesUnchanged) {
    struct Case {
        uint16_t Command;
        uint32_t Data;
        uint32_t CallCommand;
        const char* Suffix;
        uintptr_t CallData;
    } cases[] = {
        {1, 0, kHhDisplayToc, "", 0},                      // the menu item, F1 on the controller
        {1, 18, kHhDisplayTopic, "::/shortcut.html", 0},   // F1 in the shortcut dialog
        {1, 99, kHhDisplayToc, "", 0},                     // a context without a page
        {0x0F, 18, 0x0F, "", 18},                          // any other command goes as it came
    };
    for (const Case& c : cases) {
        const HelpCall call = HelpCallFor(c.Command, c.Data);
        EXPECT_EQ(call.Command, c.CallCommand) << c.Command << "/" << c.Data;
        EXPECT_EQ(call.FileSuffix, c.Suffix) << c.Command << "/" << c.Data;
        EXPECT_EQ(call.Data, c.CallData) << c.Command << "/" << c.Data;
    }
}

}  // namespace
}  // namespace kestrin
