// The hyperlink label on a real form: what it paints, its size and hint,
// real clicks with their events and the shell's answer, the right-click
// menu and the clipboard, the shared custom prefix and the hand cursor.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>

#include "controls/hyperlink_label.h"
#include "framework/application.h"
#include "win32/ui_font.h"
#include "framework/window_class.h"
#include "support/app_fixture.h"
#include "support/wait.h"
#include "support/dialog_watcher.h"
#include "support/input.h"
#include "support/probe_form.h"
#include "support/screenshot.h"
#include "support/test_icons.h"
#include "support/window_actor.h"

namespace kestrin {
namespace {

using test::PixelOf;
using test::WaitFor;

class HyperLinkTest : public test::AppTest {
protected:
    // A form at a fixed place with one label, built in its form description
    // (so the label is loaded), `setup` applied there.
    THyperLink& Make(const std::function<void(THyperLink&)>& setup = {}) {
        form_.SetPosition(poScreenCenter);
        form_.SetClientSize(400, 120);
        form_.SetStayOnTop(true);
        form_.onCreateControls = [&](test::ProbeForm& f) {
            link_ = &f.Add<THyperLink>(Bounds{10, 10, 100, 13});
            if (setup) setup(*link_);
        };
        form_.Create();
        form_.Show();
        form_.Update();
        return *link_;
    }
    void TearDown() override {
        form_.Destroy();
        SetCustomLinkPrefix(std::string(21, ' '));
        AppTest::TearDown();
    }
    // The middle of the label's text, on the screen.
    POINT TextPoint() const { return link_->ClientToScreen(8, link_->Height() / 2); }
    void Repaint() {
        InvalidateRect(form_.Handle(), nullptr, TRUE);
        form_.Update();
    }

    test::ProbeForm form_{"TLinkTestForm"};
    THyperLink* link_ = nullptr;
};

SIZE Extent(const std::string& text) {
    WindowDC dc(nullptr);
    const StyledUiFont underline(FontStyle::Underline);
    SelectGuard font(dc.get(), underline.Get());
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

TEST_F(HyperLinkTest, PaintsTheAliasUnderlinedInTheLinkColourThenTheVisitedColour) {
    THyperLink& link = Make([](THyperLink& l) {
        l.SetAlias("作者にメール");
        l.SetCaption("support@kestrin.example");
    });
    const auto shoot = [&](const char* name) {
        Repaint();
        const Bounds b = link.GetBounds();
        POINT origin = link.ClientToScreen(0, 0);
        test::Capture shot = test::CaptureScreen({origin.x, origin.y, origin.x + b.width, origin.y + b.height});
        test::SaveArtifact(shot, name);
        return shot;
    };
    const auto longestRun = [](const test::Capture& shot, uint32_t colour) {
        int best = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0, run = 0; x < shot.width; ++x) best = std::max(best, run = shot.At(x, y) == colour ? run + 1 : 0);
        return best;
    };
    const int textWidth = Extent("作者にメール").cx;
    const test::Capture fresh = shoot("hyperlink_link");
    // The underline: one unbroken row of the link colour under the whole text.
    EXPECT_GE(longestRun(fresh, PixelOf(0xFF0000)), textWidth - 1);
    EXPECT_EQ(longestRun(fresh, PixelOf(0x800080)), 0);

    link.SetVisited(true);
    const test::Capture visited = shoot("hyperlink_visited");
    EXPECT_GE(longestRun(visited, PixelOf(0x800080)), textWidth - 1);
    EXPECT_EQ(longestRun(visited, PixelOf(0xFF0000)), 0);

    // Transparent: the form shows through; opaque: filled with Color.
    const auto count = [](const test::Capture& shot, uint32_t colour) {
        return std::count(shot.pixels.begin(), shot.pixels.end(), colour);
    };
    EXPECT_EQ(count(visited, PixelOf(0x00FFFF)), 0);
    link.SetColor(0x00FFFF);
    link.SetTransparent(false);
    const test::Capture opaque = shoot("hyperlink_opaque");
    EXPECT_GT(count(opaque, PixelOf(0x00FFFF)), static_cast<long>(opaque.pixels.size() / 2));
}

TEST_F(HyperLinkTest, SizesItselfToItsText) {
    THyperLink& link = Make([](THyperLink& l) {
        l.SetLinkType(ltHttp);
        l.SetCaption("www.kestrin.example/");
    });
    const int height = Extent("xY").cy + 4;
    EXPECT_EQ(link.Width(), Extent("www.kestrin.example/http://").cx + 10);
    EXPECT_EQ(link.Height(), height);
    link.SetAlias("最新版入手");
    Repaint();
    EXPECT_EQ(link.Width(), Extent("最新版入手").cx + 8);
    EXPECT_EQ(link.Height(), height);
    link.SetAutoSize(false);
    link.SetBounds({10, 10, 30, 40});
    Repaint();
    EXPECT_EQ(link.Width(), 30) << "no sizing without AutoSize";
    EXPECT_EQ(link.Height(), 40);
}

TEST_F(HyperLinkTest, HintIsTheOwnHintWhileTheTextFitsElseTheTarget) {
    struct Case {
        const char* OwnHint;
        bool AutoSize;
        int Width;
        const char* Hint;
    } cases[] = {
        {"", true, 0, "mailto:a@kestrin.example"},
        {"own", true, 0, "own"},
        {"own", false, 30, "mailto:a@kestrin.example"},
        {"own", false, 300, "own"},
    };
    for (const Case& c : cases) {
        THyperLink& link = Make([&](THyperLink& l) {
            l.SetCaption("a@kestrin.example");
            l.SetHint(c.OwnHint);
            l.SetAutoSize(c.AutoSize);
            if (c.Width) l.SetBounds({10, 10, c.Width, 16});
        });
        EXPECT_EQ(link.SavedHint(), c.OwnHint);
        EXPECT_EQ(link.Hint(), c.Hint) << c.OwnHint << " width " << c.Width;
        form_.Destroy();
    }
}

TEST_F(HyperLinkTest, PointingAtItShowsTheHandAndTheHint) {
    THyperLink& link = Make([](THyperLink& l) { l.SetCaption("a@kestrin.example"); });
    const POINT p = TextPoint();
    test::MoveMouseTo(p.x - 30, p.y + 40);
    test::MoveMouseTo(p.x, p.y);
    const HCURSOR hand = LoadCursorA(ProgramInstance(), "HANDPOINT");
    ASSERT_NE(hand, nullptr);
    EXPECT_TRUE(WaitFor([&] { return GetCursor() == hand; })) << "the program's own hand";

    HWND tip = nullptr;
    const auto tipShown = [&] {
        tip = FindWindowA(TOOLTIPS_CLASSA, nullptr);
        for (; tip; tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr))
            if (IsWindowVisible(tip)) return true;
        return false;
    };
    ASSERT_TRUE(WaitFor(tipShown)) << "no tool tip while the pointer rests on the link";
    char text[256] = {};
    GetWindowTextA(tip, text, sizeof text);
    EXPECT_STREQ(text, link.Target().c_str());
    test::MoveMouseTo(5, 5);
}

// Real left clicks through the shell (every combination of the events is
// tested on the rules themselves): visited only when the shell took the target.
TEST_F(HyperLinkTest, ClicksOpenTheTargetAndTurnVisitedOnlyOnSuccess) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    struct Case {
        const char* Name;
        std::string Prefix;  // the custom prefix; the caption follows
        std::string Caption;
        bool Visited;
    } cases[] = {
        {"the shell opens a program", std::string(system) + "\\", "hostname.exe", true},
        {"no program for the target", "kestrin-unknown-scheme:", "x", false},
        {"too long to open whole", std::string(system) + "\\", std::string(1990, 'x'), false},
    };
    for (const Case& c : cases) {
        std::string calls;
        int32_t result = -1;
        THyperLink& link = Make([&](THyperLink& l) {
            l.SetLinkType(ltCustom);
            l.SetCustomPrefix(c.Prefix);
            l.SetCaption(c.Caption);
            l.SetAutoSize(false);
            l.OnBeforeExecuted = [&](THyperLink&, bool&) { calls += "before"; };
            l.OnExecute = [&](THyperLink&, bool&) { calls += " execute"; };
            l.OnAfterExecuted = [&](THyperLink&, int32_t r) { calls += " after"; result = r; };
        });
        const POINT p = TextPoint();
        test::ClickAt(p.x, p.y);
        EXPECT_TRUE(WaitFor([&] { return calls == "before execute after"; })) << c.Name << ": " << calls;
        EXPECT_EQ(link.Visited(), c.Visited) << c.Name;
        EXPECT_EQ(result > 32, c.Visited) << c.Name << " result " << result;
        // Refused before the shell: it would have answered "not found" (2).
        if (c.Caption.size() > 1000) {
            EXPECT_EQ(result, 0) << "the shell was asked for a cut target";
        }
        form_.Destroy();
    }
}

// The messages of a double-click on the text: the first press and release
// are the click, the second press is the double-click, and its release opens
// nothing more.
TEST_F(HyperLinkTest, ADoubleClickOpensTheTargetOnce) {
    int opened = 0, doubleClicks = 0;
    Make([&](THyperLink& l) {
        l.SetCaption("someone@example.com");
        l.OnBeforeExecuted = [&](THyperLink&, bool& executeIt) {
            ++opened;
            executeIt = false;
        };
        l.OnDblClick = [&](GraphicControl&) { ++doubleClicks; };
    });
    POINT p = TextPoint();
    ScreenToClient(form_.Handle(), &p);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageA(form_.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(HyperLinkTest, ANewCaptionOrLinkTypeForgetsVisited) {
    THyperLink& link = Make();
    link.SetVisited(true);
    link.SetLinkType(ltEmail);
    EXPECT_TRUE(link.Visited()) << "the same type is no change";
    link.SetLinkType(ltHttp);
    EXPECT_FALSE(link.Visited());
    link.SetVisited(true);
    link.SetCaption("other");
    EXPECT_FALSE(link.Visited());
}

TEST_F(HyperLinkTest, TheCustomPrefixIsSharedByEveryLabel) {
    THyperLink* second = nullptr;
    THyperLink& first = Make([&](THyperLink& l) {
        l.SetLinkType(ltCustom);
        l.SetCaption("one");
        second = &form_.Add<THyperLink>(Bounds{10, 40, 100, 13});
        second->SetLinkType(ltCustom);
        second->SetCaption("two");
    });
    EXPECT_EQ(second->Target(), std::string(21, ' ') + "two");
    first.SetCustomPrefix("kestrin:");
    EXPECT_EQ(second->CustomPrefix(), "kestrin:");
    EXPECT_EQ(second->Target(), "kestrin:two");
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Right click, then the one item of the menu, chosen by keys.
void CopyThroughTheMenu(POINT at) {
    test::WindowActor choose("#32768", [](HWND) {
        test::SendKey(VK_DOWN);
        test::SendKey(VK_RETURN);
    });
    test::ClickAt(at.x, at.y, true);
    // The menu runs in this thread's loop: pump until the keys have gone in.
    EXPECT_TRUE(WaitFor([&] { return choose.Done(); })) << "no menu";
    WaitFor([] { return FindWindowA("#32768", nullptr) == nullptr || !IsWindowVisible(FindWindowA("#32768", nullptr)); });
}

TEST_F(HyperLinkTest, TheMenuCopiesTheTargetToTheClipboard) {
    THyperLink& link = Make([](THyperLink& l) {
        l.SetAlias("最新版入手");
        l.SetLinkType(ltHttp);
        l.SetCaption("www.kestrin.example/");
    });
    ASSERT_EQ(link.LinkMenu().ItemCount(), 1);
    char item[64] = {};
    GetMenuStringA(link.LinkMenu().Handle(), 0, item, sizeof item, MF_BYPOSITION);
    EXPECT_STREQ(item, "Copy Url to clipboard") << "no shortcut shown";
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    CopyThroughTheMenu(TextPoint());
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == "http://www.kestrin.example/"; })) << ClipboardText();
    EXPECT_FALSE(link.Visited()) << "copying opens nothing";
}

TEST_F(HyperLinkTest, ABusyClipboardIsReported) {
    Make([](THyperLink& l) { l.SetCaption("a@kestrin.example"); });
    // Another thread holds the clipboard open while the label tries.
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND owner = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        OpenClipboard(owner);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
        DestroyWindow(owner);
    });
    WaitForSingleObject(opened, 5000);
    test::DialogWatcher box(App().MessageCaption());
    CopyThroughTheMenu(TextPoint());
    EXPECT_EQ(box.Result().text, "Could not write to clipboard");
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
}

// A label still loading neither opens nor has its menu item; one built
// outside a form description is never loaded and has neither.
TEST_F(HyperLinkTest, OnlyALoadedLabelHasItsMenuAndClick) {
    Make();
    bool asked = false;
    {
        LoadingScope description;
        THyperLink loading(form_.Handle(), Bounds{10, 40, 100, 13});
        loading.OnBeforeExecuted = [&](THyperLink&, bool& it) {
            asked = true;
            it = false;
        };
        loading.Click();
        EXPECT_FALSE(asked) << "no activation while loading";
        EXPECT_EQ(loading.LinkMenu().ItemCount(), 0);
        description.Finish();
        EXPECT_EQ(loading.LinkMenu().ItemCount(), 1);
        EXPECT_TRUE(loading.OnMouseDown != nullptr) << "takes its right clicks";
        loading.Click();
        EXPECT_TRUE(asked);
    }
    THyperLink loose(form_.Handle(), Bounds{10, 70, 100, 13});
    EXPECT_EQ(loose.LinkMenu().ItemCount(), 0);
    EXPECT_TRUE(loose.OnMouseDown == nullptr);
}

}  // namespace
}  // namespace kestrin
