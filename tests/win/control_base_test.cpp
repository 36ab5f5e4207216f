// What every control shares: the program's font, the binding between window
// and object, text in cp932, lifetime against its parent, and the message
// filter with its error handling.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/bevel.h"
#include "framework/button.h"
#include "framework/check_box.h"
#include "framework/edit.h"
#include "framework/flat_button.h"
#include "framework/hot_key_edit.h"
#include "framework/image.h"
#include "framework/label.h"
#include "framework/panel.h"
#include "win32/common_controls.h"
#include "win32/portable/error.h"
#include "win32/ui_font.h"
#include "support/app_fixture.h"
#include "support/control_host.h"

namespace kestrin {
namespace {

using test::ControlHost;

LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr);
    EXPECT_EQ(GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
    return font;
}

struct ControlKind {
    const char* name;
    std::function<std::unique_ptr<Control>(HWND)> make;
};

const ControlKind kKinds[] = {
    {"Label", [](HWND p) { return std::make_unique<Label>(p, Bounds{8, 8, 100, 12}, "ラベル"); }},
    {"CheckBox", [](HWND p) { return std::make_unique<CheckBox>(p, Bounds{8, 8, 100, 17}, "チェック"); }},
    {"Button", [](HWND p) { return std::make_unique<Button>(p, Bounds{8, 8, 75, 25}, "OK"); }},
    {"FlatButton", [](HWND p) { return std::make_unique<FlatButton>(p, Bounds{8, 8, 80, 25}, "中止(F12)"); }},
    {"Edit", [](HWND p) { return std::make_unique<Edit>(p, Bounds{8, 8, 28, 18}, "12"); }},
    {"HotKeyEdit", [](HWND p) { return std::make_unique<HotKeyEdit>(p, Bounds{8, 8, 121, 18}); }},
    {"Panel", [](HWND p) { return std::make_unique<Panel>(p, Bounds{8, 8, 34, 34}); }},
    {"Image", [](HWND p) { return std::make_unique<Image>(p, Bounds{8, 8, 32, 32}); }},
    {"Bevel", [](HWND p) { return std::make_unique<Bevel>(p, Bounds{8, 8, 100, 3}); }},
};

// A control of its own class, made by its own constructor.
struct CreationProbe : Control {
    explicit CreationProbe(HWND parent) : Control(parent) { CreateOwn("KestrinTestProbe", {}); }
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
        if (message == WM_CREATE) handleAtCreate = Handle();
        return false;
    }
    HWND handleAtCreate = nullptr;
};

// Someone else's subclass, on top of ours: notes the characters and the end it sees.
std::string theirs;
LRESULT CALLBACK TheirSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR library) {
    if (message == WM_CHAR || message == WM_NCDESTROY) theirs += message == WM_CHAR ? static_cast<char>(wParam) : '.';
    return (*reinterpret_cast<const CommonControls*>(library))->DefSubclassProc(window, message, wParam, lParam);
}

TEST(UiFont, IsMsPGothic12PixelsShiftJis) {
    LOGFONTA font{};
    ASSERT_EQ(GetObjectA(UiFont(), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");
    // The full-width letters as cp932 bytes: Ｍ = 82 6C, Ｓ = 82 72, space, Ｐ = 82 6F.
    EXPECT_EQ(std::string(font.lfFaceName, 5), std::string("\x82\x6C\x82\x72\x20"));
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_FALSE(font.lfUnderline);
}

TEST(UiFont, StylesAreSharedWhileHeldAndDiffer) {
    const StyledUiFont boldHold(FontStyle::Bold), otherBoldHold(FontStyle::Bold);
    const StyledUiFont underlineHold(FontStyle::Underline), bothHold(FontStyle::BoldUnderline);
    EXPECT_EQ(StyledUiFont(FontStyle::Normal).Get(), UiFont()) << "the plain style is the one shared font";
    EXPECT_EQ(boldHold.Get(), otherBoldHold.Get()) << "one shared object per style";
    LOGFONTA bold{}, underline{}, both{};
    GetObjectA(boldHold.Get(), sizeof bold, &bold);
    GetObjectA(underlineHold.Get(), sizeof underline, &underline);
    GetObjectA(bothHold.Get(), sizeof both, &both);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_FALSE(bold.lfUnderline);
    EXPECT_EQ(underline.lfWeight, FW_NORMAL);
    EXPECT_TRUE(underline.lfUnderline);
    EXPECT_EQ(both.lfWeight, FW_BOLD);
    EXPECT_TRUE(both.lfUnderline);
    for (const LOGFONTA* f : {&bold, &underline, &both}) {
        EXPECT_STREQ(f->lfFaceName, "ＭＳ Ｐゴシック");
        EXPECT_EQ(f->lfHeight, -12);
    }
}

TEST(UiFont, AStyleGoesWithItsLastHoldAndThePlainOneStays) {
    HFONT bold = nullptr;
    {
        StyledUiFont first(FontStyle::Bold);
        bold = first.Get();
        {
            StyledUiFont second(FontStyle::Bold);
            StyledUiFont moved(std::move(second));
            EXPECT_EQ(moved.Get(), bold);
        }
        EXPECT_EQ(GetObjectType(bold), static_cast<DWORD>(OBJ_FONT)) << "still held";
        StyledUiFont replaced(FontStyle::Underline);
        replaced = std::move(first);
        EXPECT_EQ(GetObjectType(bold), static_cast<DWORD>(OBJ_FONT)) << "the hold moved on";
    }
    EXPECT_EQ(GetObjectType(bold), 0u) << "deleted with the last hold";
    const StyledUiFont again(FontStyle::Bold);
    EXPECT_EQ(GetObjectType(again.Get()), static_cast<DWORD>(OBJ_FONT)) << "made again for a new hold";
    EXPECT_EQ(GetObjectType(UiFont()), static_cast<DWORD>(OBJ_FONT));
}

TEST(Control, EveryKindStartsWithTheUiFontAndIsBoundToItsWindow) {
    ControlHost host;
    for (const ControlKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        auto control = kind.make(host.Handle());
        ASSERT_NE(control->Handle(), nullptr);
        EXPECT_EQ(GetParent(control->Handle()), host.Handle());
        EXPECT_EQ(Control::FromHandle(control->Handle()), control.get());
        const LOGFONTA font = FontOf(control->Handle());
        EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");
        EXPECT_EQ(font.lfHeight, -12);
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        EXPECT_EQ(control->Font(), UiFont());
        const Bounds bounds = control->GetBounds();
        EXPECT_EQ(bounds.x, 8);
        EXPECT_EQ(bounds.y, 8);
    }
}

TEST(Control, FontCanBeReplacedPerControl) {
    const StyledUiFont bold(FontStyle::Bold);
    ControlHost host;
    for (const ControlKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        auto control = kind.make(host.Handle());
        control->SetFont(bold.Get());
        EXPECT_EQ(control->Font(), bold.Get());
        EXPECT_EQ(FontOf(control->Handle()).lfWeight, FW_BOLD);
    }
}

TEST(Control, FromHandleKnowsOnlyOurControls) {
    ControlHost host;
    EXPECT_EQ(Control::FromHandle(nullptr), nullptr);
    EXPECT_EQ(Control::FromHandle(host.Handle()), nullptr);
    HWND foreign = CreateWindowExA(0, "BUTTON", "x", WS_CHILD, 0, 0, 10, 10, host.Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(Control::FromHandle(foreign), nullptr);
    Label label(host.Handle());
    SetWindowLongPtrA(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<WindowBinding*>(&label)));
    EXPECT_EQ(Control::FromHandle(foreign), nullptr);
    EXPECT_FALSE(Control::RouteCommand(MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(foreign)));
    EXPECT_FALSE(Control::RouteCommand(MAKEWPARAM(1, 0), 0)) << "a menu command is the form's";
    DestroyWindow(foreign);
}

TEST(Control, AControlOfItsOwnClassSeesItsCreation) {
    ControlHost host;
    CreationProbe probe(host.Handle());
    ASSERT_NE(probe.Handle(), nullptr);
    EXPECT_EQ(probe.handleAtCreate, probe.Handle());
}

TEST(Control, ASubclassAddedOnTopChainsAndEitherMayGoFirst) {
    const CommonControls library = CommonControls::Hold();
    for (const bool oursFirst : {false, true}) {
        ControlHost host;
        auto edit = std::make_unique<Edit>(host.Handle(), Bounds{0, 0, 80, 18});
        const HWND window = edit->Handle();
        theirs.clear();
        ASSERT_TRUE(library->SetWindowSubclass(window, &TheirSubclass, 1, reinterpret_cast<DWORD_PTR>(&library)));
        SendMessageA(window, WM_CHAR, 'a', 1);
        if (!oursFirst) library->RemoveWindowSubclass(window, &TheirSubclass, 1);
        SendMessageA(window, WM_CHAR, 'b', 1);
        EXPECT_EQ(edit->Text(), "ab");
        edit.reset();
        EXPECT_EQ(theirs, oursFirst ? "ab." : "a") << (oursFirst ? "ours went first" : "theirs went first");
    }
}

TEST(Control, DestroyingTheObjectDestroysItsWindow) {
    ControlHost host;
    auto label = std::make_unique<Label>(host.Handle(), Bounds{0, 0, 50, 12}, "x");
    HWND window = label->Handle();
    ASSERT_TRUE(IsWindow(window));
    label.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Control::FromHandle(window), nullptr);
}

TEST(Control, ParentDestroyedFirstLeavesTheObjectSafeToDestroy) {
    // A form's window goes before the control objects it owns: the objects
    // must notice and not destroy a handle that may already be reused.
    auto host = std::make_unique<ControlHost>();
    std::vector<std::unique_ptr<Control>> controls;
    for (const ControlKind& kind : kKinds) controls.push_back(kind.make(host->Handle()));
    std::vector<HWND> windows;
    for (const auto& control : controls) windows.push_back(control->Handle());
    host.reset();
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(kKinds[i].name);
        EXPECT_FALSE(IsWindow(windows[i]));
        EXPECT_EQ(controls[i]->Handle(), nullptr);
    }
    // An unrelated window that might get one of the old handles survives.
    ControlHost other;
    controls.clear();
    EXPECT_TRUE(IsWindow(other.Handle()));
}

TEST(Control, TextIsCp932BothWays) {
    ControlHost host;
    for (const ControlKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        auto control = kind.make(host.Handle());
        // "表" and "ソ" have 0x5C as trail byte.
        const std::string text = "メモリを圧縮しました。表ソ";
        control->SetText(text);
        EXPECT_EQ(control->Text(), text);
        char raw[64] = {};
        GetWindowTextA(control->Handle(), raw, sizeof raw);
        EXPECT_EQ(std::string(raw), text);
        EXPECT_EQ(std::string(raw, 4), std::string("\x83\x81\x83\x82")) << "メモ in Shift-JIS";
        control->SetText("");
        EXPECT_EQ(control->Text(), "");
    }
}

TEST(Control, BoundsEnablingAndTabStop) {
    ControlHost host;
    CheckBox box(host.Handle(), {10, 20, 100, 17}, "x");
    box.SetBounds(30, 40, 120, 18);
    const Bounds b = box.GetBounds();
    EXPECT_EQ(b.x, 30);
    EXPECT_EQ(b.y, 40);
    EXPECT_EQ(b.width, 120);
    EXPECT_EQ(b.height, 18);
    RECT client{};
    GetClientRect(box.Handle(), &client);
    EXPECT_EQ(client.right, 120);

    EXPECT_TRUE(box.Enabled());
    box.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(box.Handle()));
    EXPECT_FALSE(box.Enabled());
    box.SetEnabled(true);
    EXPECT_TRUE(box.Enabled());

    EXPECT_TRUE(GetWindowLongA(box.Handle(), GWL_STYLE) & WS_TABSTOP);
    box.SetTabStop(false);
    EXPECT_FALSE(GetWindowLongA(box.Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST(Control, PaintedControlsArePassedOverByDialogNavigation) {
    ControlHost host;
    Label label(host.Handle(), {0, 0, 50, 12}, "x");
    Panel panel(host.Handle(), {0, 20, 50, 50});
    Image image(host.Handle(), {60, 0, 32, 32});
    Bevel bevel(host.Handle(), {0, 80, 50, 3});
    for (const Control* control : std::initializer_list<const Control*>{&label, &panel, &image, &bevel}) {
        EXPECT_EQ(SendMessageA(control->Handle(), WM_GETDLGCODE, 0, 0), DLGC_STATIC);
        EXPECT_FALSE(GetWindowLongA(control->Handle(), GWL_STYLE) & WS_TABSTOP);
    }
    CheckBox box(host.Handle(), {0, 100, 50, 17}, "x");
    EXPECT_FALSE(SendMessageA(box.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_STATIC);
}

TEST(Control, ControlIdentifiersAreDistinct) {
    ControlHost host;
    Label a(host.Handle()), b(host.Handle());
    EXPECT_NE(a.Id(), 0);
    EXPECT_NE(a.Id(), b.Id());
    EXPECT_EQ(GetDlgItem(host.Handle(), a.Id()), a.Handle());
}

TEST(Control, MessageFilterSeesMessagesFirstAndCanConsumeThem) {
    ControlHost host;
    Edit edit(host.Handle(), {0, 0, 80, 18});
    int seen = 0;
    edit.OnMessage = [&](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_CHAR) return false;
        ++seen;
        if (wParam == 'x') {
            result = 0;
            return true;  // swallowed: the edit never sees it
        }
        return false;
    };
    SendMessageA(edit.Handle(), WM_CHAR, 'a', 1);
    SendMessageA(edit.Handle(), WM_CHAR, 'x', 1);
    SendMessageA(edit.Handle(), WM_CHAR, 'b', 1);
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(edit.Text(), "ab");
}

TEST(Control, ErrorInAHandlerReachesTheTopLevelHandlerAndTheControlLivesOn) {
    ControlHost host;
    Edit edit(host.Handle(), {0, 0, 80, 18});
    std::vector<test::ShownError> reported;
    edit.OnMessage = [](UINT message, WPARAM, LPARAM, LRESULT&) -> bool {
        if (message == WM_CHAR) throw KestrinError("テスト");
        return false;
    };
    {
        test::ErrorBoxCatcher catcher(reported);
        SendMessageA(edit.Handle(), WM_CHAR, 'a', 1);
    }
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].text, "テスト");
    edit.OnMessage = nullptr;
    SendMessageA(edit.Handle(), WM_CHAR, 'b', 1);
    EXPECT_EQ(edit.Text(), "b");
}

TEST(Control, HandlerErrorRoutedThroughTheParentIsReportedNotLost) {
    ControlHost host;
    CheckBox box(host.Handle(), {0, 0, 80, 17}, "x");
    std::vector<test::ShownError> reported;
    test::ErrorBoxCatcher catcher(reported);
    box.OnClick = [] { throw KestrinError("クリック失敗"); };
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].text, "クリック失敗");
    EXPECT_TRUE(box.Checked()) << "the click itself went through";
}

}  // namespace
}  // namespace kestrin
