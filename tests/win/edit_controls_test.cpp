// The single-line edit (with the hook the numeric edits build on) and the
// hot-key entry control.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/edit.h"
#include "framework/hot_key_edit.h"
#include "support/control_host.h"
#include "support/windows_find.h"

namespace kestrin {
namespace {

using test::ClassOf;
using test::ControlHost;

void Type(HWND window, const std::string& text) {
    for (char c : text) SendMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

TEST(Edit, IsASingleLineEditWithTheGivenText) {
    ControlHost host;
    Edit edit(host.Handle(), {160, 40, 28, 18}, "12");
    EXPECT_EQ(ClassOf(edit.Handle()), "Edit");
    EXPECT_FALSE(GetWindowLongA(edit.Handle(), GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongA(edit.Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(edit.Text(), "12");
}

TEST(Edit, AnUnchangedTextIsNotAppliedAgain) {
    ControlHost host;
    Edit edit(host.Handle(), {8, 8, 100, 18});
    int applied = 0;
    edit.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_SETTEXT) ++applied;
        return false;
    };
    edit.SetText("時間");
    edit.SetText("時間");
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(edit.Text(), "時間");
}

TEST(Edit, MaxLengthLimitsTyping) {
    ControlHost host;
    Edit edit(host.Handle(), {8, 8, 100, 18});
    edit.SetMaxLength(2);
    Type(edit.Handle(), "123");
    EXPECT_EQ(edit.Text(), "12");
    edit.SetMaxLength(0);
    Type(edit.Handle(), std::string(300, '7'));
    EXPECT_EQ(edit.Text().size(), 302u) << "0 lifts the limit";
}

TEST(Edit, SelectionAndReadOnly) {
    ControlHost host;
    Edit edit(host.Handle(), {8, 8, 100, 18}, "12345");
    edit.Select(1, 3);
    EXPECT_EQ(edit.Selection(), std::make_pair(1, 3));
    edit.SelectAll();
    EXPECT_EQ(edit.Selection(), std::make_pair(0, 5));
    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.ReadOnly());
    Type(edit.Handle(), "9");
    EXPECT_EQ(edit.Text(), "12345");
}

// A digits-only edit, the way the numeric edits take over the control.
class DigitsEdit : public Edit {
public:
    using Edit::Edit;
    std::string typed;
    int refused = 0;

protected:
    bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message == WM_CHAR) typed += static_cast<char>(wParam);
        if (message == WM_CHAR && (wParam < '0' || wParam > '9')) {
            ++refused;
            result = 0;
            return true;
        }
        return false;
    }
};

TEST(Edit, DerivedControlTakesOverMessagesBeforeTheEditSeesThem) {
    ControlHost host;
    DigitsEdit edit(host.Handle(), {8, 8, 100, 18});
    Type(edit.Handle(), "1a2b");
    EXPECT_EQ(edit.Text(), "12");
    EXPECT_EQ(edit.refused, 2);
}

TEST(Edit, HookSeesTypedCharactersAsCp932Bytes) {
    // The numeric edits judge each character typed; they must get the
    // program's own code page: cut from their UTF-16 codes, "ｱ" (U+FF71) and
    // "表" (U+8868) would be other characters.
    ControlHost host;
    DigitsEdit digits(host.Handle(), {8, 8, 100, 18});
    Type(digits.Handle(), "1ｱ表2");
    EXPECT_EQ(digits.typed, "1ｱ表2");
    EXPECT_EQ(digits.Text(), "12");
    // What a hook passes on reaches the edit whole.
    Edit plain(host.Handle(), {8, 30, 100, 18});
    Type(plain.Handle(), "aｱあ表");
    EXPECT_EQ(plain.Text(), "aｱあ表");
    // So does a character cp932 lacks, as it came: an emoji, two units, whole.
    for (const wchar_t unit : std::wstring_view(L"\U0001F600")) SendMessageW(plain.Handle(), WM_CHAR, unit, 1);
    wchar_t text[16] = {};
    GetWindowTextW(plain.Handle(), text, 16);
    EXPECT_EQ(std::wstring_view(text), L"aｱあ表\U0001F600");
}

TEST(HotKeyEdit, IsTheSystemHotKeyControlAndNoTabStop) {
    ControlHost host;
    HotKeyEdit hotKey(host.Handle(), {160, 172, 121, 18});
    EXPECT_EQ(ClassOf(hotKey.Handle()), "msctls_hotkey32");
    EXPECT_FALSE(GetWindowLongA(hotKey.Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST(HotKeyEdit, ValueRoundTripsThroughTheControl) {
    ControlHost host;
    HotKeyEdit hotKey(host.Handle(), {160, 172, 121, 18});
    EXPECT_EQ(hotKey.HotKey(), (HotKeyValue{0, 0}));
    struct Case {
        BYTE vk;
        BYTE mods;
    };
    const Case cases[] = {
        {'M', HOTKEYF_CONTROL | HOTKEYF_SHIFT},
        {'A', HOTKEYF_ALT},
        {VK_F9, HOTKEYF_ALT},
        {VK_F12, HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_SHIFT},
        {0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        hotKey.SetHotKey(c.vk, c.mods);
        const auto raw = static_cast<WORD>(SendMessageA(hotKey.Handle(), HKM_GETHOTKEY, 0, 0));
        EXPECT_EQ(raw, MAKEWORD(c.vk, c.mods));
        EXPECT_EQ(hotKey.HotKey(), (HotKeyValue{c.vk, c.mods}));
    }
    // A value set from outside reads back the same way.
    SendMessageA(hotKey.Handle(), HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL), 0);
    EXPECT_EQ(hotKey.HotKey(), (HotKeyValue{'K', HOTKEYF_CONTROL}));
}

TEST(HotKeyEdit, RulesPutAltOnAKeyTypedWithoutModifier) {
    ControlHost host;
    HotKeyEdit hotKey(host.Handle(), {160, 172, 121, 18});
    hotKey.SetRules(HKCOMB_NONE | HKCOMB_S, HOTKEYF_ALT);
    hotKey.Focus();
    SendMessageA(hotKey.Handle(), WM_KEYDOWN, 'A', 1);
    SendMessageA(hotKey.Handle(), WM_KEYUP, 'A', 0xC0000001);
    EXPECT_EQ(hotKey.HotKey(), (HotKeyValue{'A', HOTKEYF_ALT}));
}

}  // namespace
}  // namespace kestrin
