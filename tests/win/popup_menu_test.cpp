// The popup menu: its items as the system sees them, and Popup() driven by
// keys posted to the open menu from another thread, as a user's would arrive.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/popup_menu.h"
#include "win32/portable/error.h"
#include "support/control_host.h"
#include "support/windows_find.h"

namespace kestrin {
namespace {

using test::ControlHost;
using test::PumpMessages;

std::string MenuText(HMENU menu, int index) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
    return text;
}

bool IsSeparator(HMENU menu, int index) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info);
    return (info.fType & MFT_SEPARATOR) != 0;
}

HWND VisibleMenuWindow() {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, "#32768", nullptr)) != nullptr)
        if (IsWindowVisible(found)) return found;
    return nullptr;
}

// Waits on its own thread until the menu tracks, notes where it opened, and
// then posts the keys to it. They need no pause between them: the menu's
// loop takes them from its thread's queue one after the other, each handled
// before the next is looked at.
class MenuDriver {
public:
    explicit MenuDriver(std::vector<WORD> keys)
        : thread_([this, keys = std::move(keys)] {
              HWND menu = test::WaitForTrackingMenu(GetCurrentProcessId());
              if (!menu) return;
              GetWindowRect(menu, &rect_);
              opened_ = true;
              for (WORD key : keys) PostMessageA(menu, WM_KEYDOWN, key, 1);
              // A menu that did not react would block the test for good:
              // close it, and let the test fail on it.
              auto closed = [menu] { return !IsWindowVisible(menu); };
              if (test::WaitFor(closed)) return;
              stuck_ = true;
              while (!closed()) {
                  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
                  test::WaitFor(closed, 1000);
              }
          }) {}
    ~MenuDriver() {
        Join();
        EXPECT_FALSE(stuck_) << "the menu ignored the keys";
    }
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    bool Opened() const { return opened_; }
    RECT Rect() const { return rect_; }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::atomic<bool> opened_{false};
    std::atomic<bool> stuck_{false};
    RECT rect_{};
    std::thread thread_;
};

// The tray menu of the program, as the controller builds it.
struct TrayMenu {
    explicit TrayMenu(HWND owner) : menu(owner) {
        menu.AddItem("ショートカット作成", [this] { chosen.push_back("MakeSC"); });
        menu.AddItem("設定", [this] { chosen.push_back("SetProp"); });
        menu.AddSeparator();
        menu.AddItem("ヘルプ", [this] { chosen.push_back("HelpDisp"); });
        menu.AddItem("ﾊﾞｰｼﾞｮﾝ情報(&A)...", [this] { chosen.push_back("VerDisp"); });
        menu.AddSeparator();
        menu.AddItem("閉じる", [this] { chosen.push_back("Quit"); });
    }
    PopupMenu menu;
    std::vector<std::string> chosen;
};

TEST(PopupMenu, ItemsAppearInOrderWithTheirCaptions) {
    ControlHost host;
    TrayMenu tray(host.Handle());
    HMENU menu = tray.menu.Handle();
    ASSERT_TRUE(IsMenu(menu));
    EXPECT_EQ(tray.menu.ItemCount(), 7);
    EXPECT_EQ(GetMenuItemCount(menu), 7);
    const char* captions[] = {"ショートカット作成", "設定", "", "ヘルプ", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", "", "閉じる"};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(IsSeparator(menu, i), i == 2 || i == 5);
        if (!IsSeparator(menu, i)) {
            EXPECT_EQ(MenuText(menu, i), captions[i]);
        }
    }
    // The half-width katakana are single cp932 bytes: ﾊ = CA, ﾞ = DE.
    EXPECT_EQ(MenuText(menu, 4).substr(0, 2), std::string("\xCA\xDE"));
    EXPECT_EQ(MenuText(menu, 6), std::string("\x95\xC2\x82\xB6\x82\xE9")) << "閉じる in Shift-JIS";
}

TEST(PopupMenu, PopupRunsTheChosenItemsHandlerAfterTheMenuClosed) {
    ControlHost host;
    TrayMenu tray(host.Handle());
    bool menuOpenDuringHandler = true;
    tray.menu.AddItem("プローブ", [&] { menuOpenDuringHandler = VisibleMenuWindow() != nullptr; });
    const int nullsBefore = host.Received(WM_NULL);
    bool chose = false;
    {
        // Down x2 lands on "設定"; separators are skipped.
        MenuDriver driver({VK_DOWN, VK_DOWN, VK_RETURN});
        chose = tray.menu.Popup(500, 300);
        EXPECT_TRUE(driver.Opened());
    }
    EXPECT_TRUE(chose);
    EXPECT_EQ(tray.chosen, std::vector<std::string>{"SetProp"});

    // The owner gets its message after the menu is gone.
    EXPECT_EQ(VisibleMenuWindow(), nullptr);
    PumpMessages();
    EXPECT_GT(host.Received(WM_NULL), nullsBefore);

    // Up from nothing selected wraps to the last item.
    {
        MenuDriver driver({VK_UP, VK_RETURN});
        EXPECT_TRUE(tray.menu.Popup(500, 300));
    }
    EXPECT_FALSE(menuOpenDuringHandler) << "the handler runs once the menu has closed";
}

TEST(PopupMenu, SecondOpeningWorksAndSkipsSeparators) {
    ControlHost host;
    TrayMenu tray(host.Handle());
    {
        MenuDriver driver({VK_DOWN, VK_RETURN});
        EXPECT_TRUE(tray.menu.Popup(400, 300));
    }
    {
        MenuDriver driver({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
        EXPECT_TRUE(tray.menu.Popup(400, 300));
    }
    EXPECT_EQ(tray.chosen, (std::vector<std::string>{"MakeSC", "HelpDisp"}));
}

TEST(PopupMenu, EscapeChoosesNothingButStillNotifiesTheOwner) {
    ControlHost host;
    TrayMenu tray(host.Handle());
    PumpMessages();
    const int nullsBefore = host.Received(WM_NULL);
    {
        MenuDriver driver({VK_ESCAPE});
        EXPECT_FALSE(tray.menu.Popup(500, 300));
    }
    EXPECT_TRUE(tray.chosen.empty());
    PumpMessages();
    EXPECT_GT(host.Received(WM_NULL), nullsBefore);
}

TEST(PopupMenu, ItemWithoutHandlerCanBeChosen) {
    ControlHost host;
    PopupMenu menu(host.Handle());
    menu.AddItem("なし");
    MenuDriver driver({VK_DOWN, VK_RETURN});
    EXPECT_TRUE(menu.Popup(500, 300));
}

TEST(PopupMenu, OpensCentredOnThePointByDefaultOrAsAligned) {
    ControlHost host;
    TrayMenu tray(host.Handle());
    struct Case {
        UINT alignment;
        const char* name;
    };
    for (const Case& c : {Case{TPM_CENTERALIGN, "centre"}, Case{TPM_LEFTALIGN, "left"}, Case{TPM_RIGHTALIGN, "right"}}) {
        SCOPED_TRACE(c.name);
        if (c.alignment != TPM_CENTERALIGN) tray.menu.SetAlignment(c.alignment);  // centred: the default
        MenuDriver driver({VK_ESCAPE});
        tray.menu.Popup(500, 300);
        driver.Join();
        const RECT r = driver.Rect();
        ASSERT_TRUE(driver.Opened());
        EXPECT_EQ(r.top, 300);
        const int anchor = c.alignment == TPM_LEFTALIGN    ? r.left
                           : c.alignment == TPM_RIGHTALIGN ? r.right
                                                           : (r.left + r.right) / 2;
        EXPECT_NEAR(anchor, 500, 1);
        PumpMessages();
    }
}

TEST(PopupMenu, HandlerErrorPassesToTheCaller) {
    ControlHost host;
    PopupMenu menu(host.Handle());
    menu.AddItem("失敗", [] { throw KestrinError("失敗しました"); });
    MenuDriver driver({VK_DOWN, VK_RETURN});
    try {
        menu.Popup(500, 300);
        ADD_FAILURE() << "no error came back";
    } catch (const KestrinError& e) {
        EXPECT_STREQ(e.what(), "失敗しました");
    }
}

TEST(PopupMenu, HandlerMayDestroyTheMenu) {
    ControlHost host;
    auto menu = std::make_unique<PopupMenu>(host.Handle());
    PopupMenu* raw = menu.get();
    int told = 0;
    menu->AddDestroyObserver([&] { ++told; });
    menu->AddItem("閉じる", [&] { menu.reset(); });
    MenuDriver driver({VK_DOWN, VK_RETURN});
    EXPECT_TRUE(raw->Popup(500, 300));
    EXPECT_EQ(menu, nullptr);
    EXPECT_EQ(told, 1);
}

TEST(PopupMenu, DestroyObserversAreToldOnceAndTheMenuIsFreed) {
    ControlHost host;
    auto menu = std::make_unique<PopupMenu>(host.Handle());
    HMENU handle = menu->Handle();
    int first = 0, second = 0;
    menu->AddDestroyObserver([&] { ++first; });
    const auto token = menu->AddDestroyObserver([&] { ++second; });
    menu->RemoveDestroyObserver(token);
    EXPECT_EQ(first, 0);
    menu.reset();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_FALSE(IsMenu(handle));
}

// A timer's work during the menu's loop: a second popup of the same menu.
PopupMenu* nestedMenu = nullptr;
std::atomic<int> nestedResult{-1};  // -1: not asked yet
void CALLBACK AskForSecondPopup(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    nestedResult = nestedMenu->Popup(400, 300) ? 1 : 0;
}

// The owner's messages are handled while the menu is open: a second popup
// asked for then (the tray icon clicked again) leaves the open menu as it is.
TEST(PopupMenu, RequestWhileOpenLeavesTheOpenMenuAlone) {
    ControlHost host;
    TrayMenu tray(host.Handle());
    nestedMenu = &tray.menu;
    nestedResult = -1;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &AskForSecondPopup);
    ASSERT_NE(timer, 0u);
    std::thread driver([] {
        HWND menu = test::WaitForTrackingMenu(GetCurrentProcessId());
        if (!menu || !test::WaitFor([] { return nestedResult.load() != -1; })) {
            if (menu) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
            return;
        }
        for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(menu, WM_KEYDOWN, key, 1);
    });
    const bool chose = tray.menu.Popup(500, 300);
    driver.join();
    EXPECT_EQ(nestedResult.load(), 0) << "the second request must open nothing";
    EXPECT_TRUE(chose);
    EXPECT_EQ(tray.chosen, std::vector<std::string>{"SetProp"});
}

}  // namespace
}  // namespace kestrin
