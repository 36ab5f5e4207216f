// The tray icon's reaction to each mouse notification, as a table, and the
// single-click rule over whole click sequences.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tray/portable/mouse_rules.h"

namespace kestrin {
namespace {

using enum TrayMouseAction;
using B = TrayButton;

// What the program's own icon has: the tray menu on the right button and
// the pass on a left press.
constexpr TrayMouseSetup kProgramIcon{.HasRBPopupMenu = true, .HasOnMouseDown = true};
constexpr TrayMouseSetup kNothing{};
constexpr TrayMouseSetup kAllHandlers{.HasOnMouseMove = true, .HasOnMouseDown = true, .HasOnMouseUp = true,
                                      .HasOnClick = true, .HasOnDblClick = true};
constexpr TrayMouseSetup kBothMenus{.HasLBPopupMenu = true, .HasRBPopupMenu = true, .HasOnMouseDown = true};
constexpr TrayMouseSetup kMenusNoAutoPopup{.HasLBPopupMenu = true, .HasRBPopupMenu = true, .AutoPopup = false,
                                           .HasOnMouseDown = true};
constexpr TrayMouseSetup kClickOnly{.HasOnClick = true};

struct Row {
    const char* What;
    uint32_t Message;
    TrayMouseSetup Setup;
    bool PendingBefore;
    TrayMouseAction Action;
    TrayButton Button;  // looked at for FireMouseDown / FireMouseUp only
    bool PendingAfter;
};

const Row kTable[] = {
    {"move fires OnMouseMove", kWmMouseMove, kAllHandlers, false, FireMouseMove, B::Left, false},
    {"move without handler", kWmMouseMove, kNothing, true, None, B::Left, true},

    {"left press fires OnMouseDown", kWmLButtonDown, kProgramIcon, false, FireMouseDown, B::Left, false},
    {"left press opens the left menu instead", kWmLButtonDown, kBothMenus, false, OpenLBPopupMenu, B::Left, false},
    {"left press without AutoPopup", kWmLButtonDown, kMenusNoAutoPopup, true, FireMouseDown, B::Left, true},
    {"left press without handler", kWmLButtonDown, kNothing, false, None, B::Left, false},

    {"left release fires OnMouseUp, nothing else", kWmLButtonUp, kAllHandlers, false, FireMouseUp, B::Left, false},
    {"OnMouseUp leaves a pending click alone", kWmLButtonUp, kAllHandlers, true, FireMouseUp, B::Left, true},
    {"left release without OnClick forgets a pending click", kWmLButtonUp, kProgramIcon, true, None, B::Left, false},
    {"left release starts the click waiter", kWmLButtonUp, kClickOnly, false, StartClickWaiter, B::Left, true},
    {"left release ending a double click", kWmLButtonUp, kClickOnly, true, None, B::Left, false},

    {"double click fires OnDblClick", kWmLButtonDblClk, kAllHandlers, false, FireDblClick, B::Left, true},
    {"double click without handler still marks the click", kWmLButtonDblClk, kNothing, false, None, B::Left, true},

    {"right press opens the right menu", kWmRButtonDown, kProgramIcon, false, OpenRBPopupMenu, B::Right, false},
    {"right press without AutoPopup", kWmRButtonDown, kMenusNoAutoPopup, false, FireMouseDown, B::Right, false},
    {"right press without menu", kWmRButtonDown, kAllHandlers, true, FireMouseDown, B::Right, true},
    {"right press without anything", kWmRButtonDown, kNothing, false, None, B::Right, false},
    {"right release", kWmRButtonUp, kAllHandlers, false, FireMouseUp, B::Right, false},
    {"right release without handler", kWmRButtonUp, kProgramIcon, true, None, B::Right, true},
    {"right double click", kWmRButtonDblClk, kAllHandlers, true, None, B::Right, true},

    {"middle press", kWmMButtonDown, kBothMenus, false, FireMouseDown, B::Middle, false},
    {"middle release", kWmMButtonUp, kAllHandlers, false, FireMouseUp, B::Middle, false},
    {"middle release without handler", kWmMButtonUp, kProgramIcon, false, None, B::Middle, false},
    {"middle double click", kWmMButtonDblClk, kAllHandlers, true, None, B::Middle, true},
    {"wheel and the rest", 0x20A, kAllHandlers, false, None, B::Left, false},
    {"not a mouse message", 0x100, kAllHandlers, true, None, B::Left, true},
};

TEST(TrayMouseRules, EveryNotificationDoesWhatTheTableSays) {
    for (const Row& row : kTable) {
        SCOPED_TRACE(row.What);
        const TrayMouseDecision decision = DecideTrayMouse(row.Message, row.Setup, row.PendingBefore);
        EXPECT_EQ(decision.Action, row.Action);
        EXPECT_EQ(decision.ClickPending, row.PendingAfter);
        if (row.Action == FireMouseDown || row.Action == FireMouseUp) {
            EXPECT_EQ(decision.Button, row.Button);
        }
    }
}

// Plays a sequence of notifications and click-waiter expiries through the
// rules, as the callback window does, and collects what fired.
class ClickPlayer {
public:
    explicit ClickPlayer(TrayMouseSetup setup) : setup_(setup) {}
    void Notify(uint32_t message) {
        const TrayMouseDecision decision = DecideTrayMouse(message, setup_, pending_);
        pending_ = decision.ClickPending;
        if (decision.Action == StartClickWaiter) ++waiters_;
        if (decision.Action == FireDblClick) fired_.push_back("dblclick");
    }
    void WaiterRunsOut() {
        ASSERT_GT(waiters_, 0);
        --waiters_;
        if (ShouldDeliverPendingClick(setup_.HasOnClick, pending_)) fired_.push_back("click");
        pending_ = false;
    }
    const std::vector<std::string>& Fired() const { return fired_; }
    bool Pending() const { return pending_; }

private:
    TrayMouseSetup setup_;
    bool pending_ = false;
    int waiters_ = 0;
    std::vector<std::string> fired_;
};

constexpr TrayMouseSetup kClicks{.HasOnClick = true, .HasOnDblClick = true};

TEST(TrayMouseRules, SingleClickFiresOnClickOnceTheWaiterRunsOut) {
    ClickPlayer player(kClicks);
    player.Notify(kWmLButtonDown);
    player.Notify(kWmLButtonUp);
    EXPECT_TRUE(player.Fired().empty());
    player.WaiterRunsOut();
    EXPECT_EQ(player.Fired(), (std::vector<std::string>{"click"}));
    EXPECT_FALSE(player.Pending());
}

TEST(TrayMouseRules, DoubleClickFiresOnDblClickAndNoOnClick) {
    ClickPlayer player(kClicks);
    player.Notify(kWmLButtonDown);
    player.Notify(kWmLButtonUp);      // starts the waiter
    player.Notify(kWmLButtonDblClk);  // the second press
    player.Notify(kWmLButtonUp);      // ends the double click
    player.WaiterRunsOut();           // the first release's waiter finds nothing pending
    EXPECT_EQ(player.Fired(), (std::vector<std::string>{"dblclick"}));
    EXPECT_FALSE(player.Pending());
}

TEST(TrayMouseRules, WaiterDeliversNothingOnceOnClickIsGone) {
    EXPECT_TRUE(ShouldDeliverPendingClick(true, true));
    EXPECT_FALSE(ShouldDeliverPendingClick(false, true));
    EXPECT_FALSE(ShouldDeliverPendingClick(true, false));
}

TEST(TrayMouseRules, WithOnMouseUpAssignedNoClickWaiterEverStarts) {
    TrayMouseSetup setup = kClicks;
    setup.HasOnMouseUp = true;
    ClickPlayer player(setup);
    for (int i = 0; i < 3; ++i) {
        player.Notify(kWmLButtonDown);
        player.Notify(kWmLButtonUp);
    }
    EXPECT_TRUE(player.Fired().empty());
    EXPECT_FALSE(player.Pending());
}

}  // namespace
}  // namespace kestrin
