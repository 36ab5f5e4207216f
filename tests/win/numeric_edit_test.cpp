// The numeric edits over the real edit control: what typing lets in, what
// reading the value does to the text, pastes, and where the text line sits.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "controls/aligned_numeric_edit.h"
#include "controls/masked_numeric_edit.h"
#include "win32/beep.h"
#include "support/app_fixture.h"
#include "support/control_host.h"

namespace kestrin::test {
namespace {

std::atomic<int> beeps{0};
BOOL WINAPI CountBeep(UINT) {
    ++beeps;
    return TRUE;
}

void Type(HWND window, const std::string& characters) {
    for (char c : characters) SendMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PutOnClipboard(HWND owner, const std::string& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

TEST(NumericEdit, TypingLetsInOnlyTheCharactersOfANumber) {
    EnsureApplication();
    ControlHost host;
    struct Case {
        bool aligned;
        const char* mask;
        const char* typed;
        const char* text;
    } cases[] = {
        {false, "9999", "1a2 Z", "12"},
        {false, "9999", "3-4\r", "34"},           // no minus without one in the mask; no line break
        {false, "99-", "3-4", "3-4"},
        {false, "9999", "\x03\x16\x18", ""},      // clipboard keys are dropped in the plain edit
        {true, "9999", "5\r6\x1B", "56"},
        {true, "99.99", "1.5:/", "1.5:/"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TBEdit> edit = c.aligned ? std::make_unique<TVaBEdit>(host.Handle(), Bounds{8, 8, 60, 18})
                                                 : std::make_unique<TBEdit>(host.Handle(), Bounds{8, 8, 60, 18});
        edit->SetMask(c.mask);
        edit->SetText("");
        std::string pressed;
        edit->OnKeyPress = [&](Control&, char& key) { pressed += key == '\0' ? '0' : key; };
        Type(edit->Handle(), c.typed);
        EXPECT_EQ(edit->Text(), c.text) << c.typed;
        // Every character reaches OnKeyPress first, Enter included.
        if (c.aligned && std::string(c.typed).find('\r') != std::string::npos) {
            EXPECT_NE(pressed.find('\r'), std::string::npos) << c.typed;
        }
    }
}

TEST(NumericEdit, ReadingTheValueValidatesAndPutsBackTheLastAccepted) {
    EnsureApplication();
    ControlHost host;
    TVaBEdit edit(host.Handle(), {8, 8, 40, 18});
    edit.SetMask("Z9");
    struct Case {
        const char* text;
        uint8_t value;
        const char* textAfter;
    } cases[] = {
        {"12", 12, "12"}, {"1.9", 1, "1.9"}, {"-3", 1, "1"}, {"", 0, ""},
        {"1:2", 12, "1:2"}, {"300", 12, "12"},
        // Too large to cast: the last value, the text left to the next focus change.
        {"99999999999999999999999", 12, "99999999999999999999999"},
    };
    for (const Case& c : cases) {
        edit.SetText(c.text);
        EXPECT_EQ(edit.Suji(), c.value) << c.text;
        EXPECT_EQ(edit.Text(), c.textAfter) << c.text;
    }
    // A range the value lies outside of gives the last accepted value back.
    edit.SetRangeStart(5);
    edit.SetRangeEnd(10);
    edit.SetText("4");
    EXPECT_EQ(edit.Suji(), 12);
    EXPECT_EQ(edit.Text(), "12");
    // The mask has room for two digits: 100 shows 00 and reads back 0.
    edit.SetRangeStart(0);
    edit.SetRangeEnd(255);
    edit.SetSuji(100);
    EXPECT_EQ(edit.Text(), "00");
    EXPECT_EQ(edit.Suji(), 0);
}

TEST(NumericEdit, FocusChangesFormatTheText) {
    EnsureApplication();
    ControlHost host;
    TVaBEdit edit(host.Handle(), {8, 8, 40, 18});
    TVaBEdit other(host.Handle(), {8, 40, 40, 18});
    edit.SetMask("99");
    SetForegroundWindow(host.Handle());
    edit.Focus();
    edit.SetText("7");
    other.Focus();
    EXPECT_EQ(edit.Text(), "07");
    edit.Focus();
    EXPECT_EQ(edit.Selection(), (std::pair<int, int>{0, 2})) << "the whole text is selected";
}

TEST(NumericEdit, PasteChecksTheClipboardTextAndBeepsAtANonNumber) {
    EnsureApplication();
    ControlHost host;
    TVaBEdit aligned(host.Handle(), {8, 8, 60, 18});
    TBEdit plain(host.Handle(), {8, 40, 60, 18});
    aligned.SetMask("Z9");
    plain.SetMask("99");
    const BeepFunction previous = SetBeepFunction(&CountBeep);
    beeps = 0;
    struct Case {
        TBEdit* edit;
        const char* clipboard;
        const char* text;
        int beeps;
    } cases[] = {
        {&aligned, "1e3", "1e3", 0},     // replaces the whole text, checked on reading
        {&aligned, "300", "300", 0},
        {&aligned, "abc", "300", 1},
        {&plain, "4", "04", 0},           // inserted at the caret of the plain edit
        {&plain, "1,000", "04", 1},
    };
    plain.SetText("0");
    for (const Case& c : cases) {
        PutOnClipboard(host.Handle(), c.clipboard);
        if (c.edit == &plain) plain.Select(1, 1);
        const int before = beeps;
        SendMessageA(c.edit->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(c.edit->Text(), c.text) << c.clipboard;
        EXPECT_EQ(beeps - before, c.beeps) << c.clipboard;
    }
    SetBeepFunction(previous);
    aligned.SetText("1e3");
    EXPECT_EQ(aligned.Suji(), 13);
    aligned.SetText("300");
    EXPECT_EQ(aligned.Suji(), 13) << "out of 0..255: the last accepted value";
}

TEST(NumericEdit, TheTextLineSitsWhereTheAlignmentPutsIt) {
    struct Case {
        int clientHeight;
        TplVertAlignment alignment;
        RECT expected;
    } cases[] = {
        {14, tvaTop, {0, 1, 24, 13}},    {14, tvaCenter, {0, 1, 24, 13}}, {14, tvaBottom, {0, 1, 24, 13}},
        {20, tvaTop, {0, 1, 24, 13}},    {20, tvaCenter, {0, 4, 24, 16}}, {20, tvaBottom, {0, 7, 24, 19}},
        {9, tvaCenter, {0, -1, 24, 11}},  // lower than a line: above the top edge, sent as it is
    };
    for (const Case& c : cases) {
        const RECT rect = AlignedTextRect({0, 0, 24, c.clientHeight}, 12, c.alignment, 0, 0, 1);
        EXPECT_TRUE(EqualRect(&rect, &c.expected)) << c.clientHeight << " " << int(c.alignment);
    }
    // The real edit gets that rectangle, also after a re-creation and a resize.
    EnsureApplication();
    ControlHost host;
    TVaBEdit edit(host.Handle(), {8, 8, 40, 26});
    auto sentRect = [&] {
        RECT sent{};
        SendMessageA(edit.Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&sent));
        return sent;
    };
    const RECT top = sentRect();
    EXPECT_EQ(top.top, 1);
    edit.SetLeftIndent(3);
    EXPECT_EQ(sentRect().left - top.left, 3) << "the edit adds its own margin to ours";
    const HWND before = edit.Handle();
    edit.SetVertAlignment(tvaBottom);
    EXPECT_NE(edit.Handle(), before) << "the alignment is applied by making the window again";
    edit.SetBounds(8, 8, 40, 30);
    RECT client{};
    GetClientRect(edit.Handle(), &client);
    const RECT bottom = sentRect();
    EXPECT_EQ(bottom.bottom, client.bottom - 1) << "one line high, one pixel above the sunken edge";
    EXPECT_EQ(bottom.bottom - bottom.top, top.bottom - top.top);
    EXPECT_EQ(bottom.left - top.left, 3) << "the indent survives the re-creation";
}

}  // namespace
}  // namespace kestrin::test
