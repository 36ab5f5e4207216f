// The hyperlink label's rules: targets and the events around an activation
// (size, hint and the shared prefix are tested on the real label).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/portable/link_rules.h"

namespace kestrin {
namespace {

TEST(LinkRules, TheTargetIsThePrefixFollowedDirectlyByTheCaption) {
    struct Case {
        TLinkType Type;
        const char* Target;
    } cases[] = {
        {ltEmail, "mailto:a b&c"},     {ltFile, "file://a b&c"},  {ltGopher, "gopher://a b&c"},
        {ltHttp, "http://a b&c"},      {ltNews, "news:a b&c"},    {ltWais, "wais:a b&c"},
        {ltTelnet, "telnet:a b&c"},    {ltCustom, "                     a b&c"},
    };
    for (const Case& c : cases) EXPECT_EQ(LinkTarget(c.Type, "a b&c"), c.Target) << int(c.Type);
}

TEST(LinkRules, ATargetOf2000BytesOrMoreDoesNotFit) {
    EXPECT_TRUE(LinkTargetFits(std::string(1999, 'a')));
    EXPECT_FALSE(LinkTargetFits(std::string(2000, 'a')));
}

// Every combination of the three events: what is called, with what, and
// whether the label turns visited.
TEST(LinkRules, ActivationEvents) {
    struct Case {
        bool Before, BeforeVetoes, Execute, ExecuteClears;
        int32_t OpenResult;
        const char* Calls;
        bool Visited;
        int32_t AfterGets;  // -1: OnAfterExecuted not called
    } cases[] = {
        {false, false, false, false, 42, "open visited after", true, 42},
        {false, false, false, false, 31, "open after", false, 31},
        {false, false, false, false, 32, "open after", false, 32},
        {true, false, false, false, 42, "before open visited after", true, 42},
        {true, true, true, false, 42, "before", false, -1},
        {false, false, true, false, 2, "execute open after", false, 2},
        {false, false, true, true, 2, "execute visited after", true, 33},
        {true, false, true, true, 2, "before execute visited after", true, 33},
    };
    for (const Case& c : cases) {
        std::string calls;
        int32_t afterGot = -1;
        bool visited = false;
        LinkActivation a;
        if (c.Before) a.OnBeforeExecuted = [&](bool& it) { calls += "before "; if (c.BeforeVetoes) it = false; };
        if (c.Execute) a.OnExecute = [&](bool& it) { calls += "execute "; if (c.ExecuteClears) it = false; };
        a.Open = [&] { calls += "open "; return c.OpenResult; };
        a.MarkVisited = [&] { calls += "visited "; visited = true; };
        a.OnAfterExecuted = [&](int32_t r) { calls += "after"; afterGot = r; };
        const LinkOutcome outcome = ActivateLink(a);
        if (!calls.empty() && calls.back() == ' ') calls.pop_back();
        EXPECT_EQ(calls, c.Calls);
        EXPECT_EQ(visited, c.Visited) << c.Calls;
        EXPECT_EQ(outcome.Visited, c.Visited) << c.Calls;
        EXPECT_EQ(afterGot, c.AfterGets) << c.Calls;
        EXPECT_EQ(outcome.Vetoed, c.BeforeVetoes);
    }
}

}  // namespace
}  // namespace kestrin
