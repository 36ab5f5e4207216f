// The settings dialog in this process, driven by real keys and clicks and
// checked against the settings record, the ini file it writes and the hot
// key it asks the controller to register.
#include <windows.h>
#include <imm.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "dialogs/settings_dialog.h"
#include "support/app_fixture.h"
#include "support/dialog_watcher.h"
#include "support/input.h"
#include "support/windows_find.h"
#include "support/wine_paths.h"

namespace kestrin::test {
namespace {

std::string IniPath() { return DocumentsFolder() + "\\kestrin_win_tests.ini"; }

class PropFormTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RemoveIni();
    }
    void TearDown() override {
        dialog_.reset();
        RemoveIni();
        AppTest::TearDown();
    }
    static void RemoveIni() {
        DeleteFileA(IniPath().c_str());
        RemoveDirectoryA(IniPath().c_str());
    }

    TPropForm& Open(const std::string& ini) {
        WriteFileBytes(IniPath(), "[Settings]\r\n" + ini);
        store_.Open(DocumentsFolder());
        store_.Load(state_.AppSettings);
        dialog_ = MakeForm<TPropForm>(PropFormContext{state_.AppSettings, store_, [this] { ++hotKeyApplied_; }});
        dialog_->Show();
        SetForegroundWindow(dialog_->Handle());
        Settle();
        return *dialog_;
    }

    // Handles every message the input so far has put in the queue.
    static void Settle() {
        do {
            App().ProcessMessages();
        } while (HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0);
    }
    static void Press(WORD key, std::initializer_list<WORD> modifiers = {}) {
        SendKeyChord(modifiers, key);
        Settle();
    }
    static void Click(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Settle();
    }
    // Goes down to a field from the hours, where the dialog opens, and types.
    static void TypeInto(int field, const char* digits) {
        for (int n = 1; n < field; ++n) Press(VK_DOWN);
        for (const char* d = digits; *d; ++d) Press(static_cast<WORD>(*d));
    }

    // The dialog's windows as a user finds them: the seven fields in the
    // navigation's order (the edits in their tab order, the boxes by their
    // captions, the hot-key entry), and the two buttons.
    HWND Child(const char* className, const char* text, int skip = 0) const {
        HWND window = nullptr;
        do window = FindWindowExA(dialog_->Handle(), window, className, text);
        while (window && skip-- > 0);
        return window;
    }
    HWND Field(int number) const {
        static constexpr const char* kBoxes[] = {"手動クリックした時メッセージボックスを表示する",
                                                 "手動クリックした時、圧縮操作を1度しか行わない。", "ホットキーを使う"};
        if (number <= 3) return Child("EDIT", nullptr, number - 1);
        return number <= 6 ? Child("BUTTON", kBoxes[number - 4]) : Child("msctls_hotkey32", nullptr);
    }
    // The field the navigation stands on: it keeps the focus there.
    int FocusedField() const {
        for (int number = 1; number <= 7; ++number)
            if (GetFocus() == Field(number)) return number;
        return 0;
    }
    HWND DoBtn() const { return Child("KestrinFlatButton", "OK(F9)"); }
    HWND EndBtn() const { return Child("KestrinFlatButton", "中止(F12)"); }
    WORD HotKey() const { return static_cast<WORD>(SendMessageA(Field(7), HKM_GETHOTKEY, 0, 0)); }

    SharedState state_;
    SettingsStore store_;
    std::unique_ptr<TPropForm> dialog_;
    int hotKeyApplied_ = 0;
};

TEST_F(PropFormTest, EnterDownAndUpFollowTheFieldOrderWithItsWraps) {
    struct Case {
        const char* ini;
        std::vector<WORD> keys;
        std::vector<int> fields;  // the field after each key
    } cases[] = {
        {"UseHK=0\r\n", {VK_RETURN, VK_RETURN, VK_RETURN, VK_RETURN, VK_RETURN, VK_RETURN}, {2, 3, 4, 5, 6, 1}},
        {"UseHK=1\r\n", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, {2, 3, 4, 5, 6, 7, 1}},
        {"UseHK=0\r\n", {VK_UP, VK_UP, VK_UP}, {6, 5, 4}},
        // Up in the hot-key entry is a key for the entry, not a move.
        {"UseHK=1\r\n", {VK_UP, VK_UP}, {7, 7}},
        // Page keys and F1 only run the field's check; Tab follows the tab order.
        {"UseHK=0\r\n", {VK_NEXT, VK_F1, VK_TAB, VK_TAB}, {1, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        TPropForm& dialog = Open(c.ini);
        std::vector<int> fields;
        for (WORD key : c.keys) {
            Press(key);
            fields.push_back(FocusedField());
        }
        EXPECT_EQ(fields, c.fields) << c.ini << " first key " << c.keys[0];
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        dialog_.reset();
    }
}

TEST_F(PropFormTest, TabAndEnterOnCheckBoxesAndTheHotKeyEntry) {
    TPropForm& dialog = Open("UseHK=1\r\n");
    // Shift turns F9 and F12 into other keys: neither applies nor cancels.
    Press(VK_F9, {VK_SHIFT});
    Press(VK_F12, {VK_SHIFT});
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    EXPECT_EQ(FocusedField(), 1);
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_TAB);  // from the count field round to the first tab stop
    EXPECT_EQ(FocusedField(), 4);
    EXPECT_EQ(GetFocus(), Field(4));
    Press(VK_RETURN);  // one Enter on a check box is one field
    EXPECT_EQ(FocusedField(), 5);
    Press(VK_RETURN);
    Press(VK_TAB);  // the hot-key entry is no tab stop
    EXPECT_EQ(FocusedField(), 1);
    Press(VK_UP);
    EXPECT_EQ(GetFocus(), Field(7));
    Press(VK_F9);  // becomes the hot key here, under the entry's rules
    EXPECT_EQ(HotKey(), MAKEWORD(VK_F9, HOTKEYF_ALT));
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    Press(VK_DOWN);  // so does an arrow, which moves nowhere here
    EXPECT_EQ(LOBYTE(HotKey()), VK_DOWN);
    EXPECT_EQ(FocusedField(), 7);
    Press(VK_ESCAPE);  // the entry's too: it clears the hot key
    EXPECT_EQ(HotKey(), 0);
    Press(VK_RETURN);
    EXPECT_EQ(FocusedField(), 1);
}

// A character cp932 lacks is refused by a number field, never bent by the best fit into
// one that passes ("²" into "2", "¥" into "\\"); an emoji whole; no input method composes there.
TEST_F(PropFormTest, CharactersCp932LacksDoNotEnterTheNumberFields) {
    Open("Timer=0\r\n");
    TypeUnits(L"1\u00B2\u00A5\U0001F600\u00E93");
    Settle();
    EXPECT_EQ(TextOf(Field(1)), "13");
    EXPECT_EQ(ImmGetContext(Field(1)), nullptr) << "an input method could compose text in the field";
}

TEST_F(PropFormTest, HoursOfADayOrMoreAreClearedUnlessAppliedAtOnce) {
    struct Case {
        WORD key;
        int field;
        const char* hours;
        uint32_t storedMinutes;  // after F9 only
    } cases[] = {{VK_RETURN, 3, "0", 0}, {VK_UP, 6, "0", 0}, {VK_F9, 1, "30", 30 * 60 + 15}};
    for (const Case& c : cases) {
        TPropForm& dialog = Open("Timer=15\r\n");
        TypeInto(1, "30");
        Press(c.key);
        EXPECT_EQ(TextOf(Field(1)), c.hours) << c.key;
        if (c.key == VK_F9) {
            EXPECT_EQ(dialog.ModalResult(), mrOk);
            EXPECT_EQ(state_.AppSettings.IntervalMinutes.load(), c.storedMinutes);
        } else {
            EXPECT_EQ(TextOf(Field(2)), "0");
            EXPECT_EQ(FocusedField(), c.field) << c.key;
        }
        dialog_.reset();
    }
}

TEST_F(PropFormTest, ACountOutsideOneToTenIsRefusedWhicheverWayTheFieldIsLeft) {
    enum Way { Key, MouseOnCheckBox, DoButton, EndButton };
    struct Case {
        Way way;
        WORD key;
    } ways[] = {{Key, VK_RETURN}, {Key, VK_TAB},         {Key, VK_UP},     {Key, VK_DOWN},     {Key, VK_F9},
                {Key, VK_F12},    {MouseOnCheckBox, 0}, {DoButton, 0},    {EndButton, 0}};
    for (const char* count : {"0", "12"}) {
        for (const Case& c : ways) {
            TPropForm& dialog = Open("");
            TypeInto(3, count);
            DialogWatcher box("Kestrin");
            if (c.way == Key) Press(c.key);
            if (c.way == MouseOnCheckBox) Click(Field(5));
            if (c.way == DoButton) Click(DoBtn());
            if (c.way == EndButton) Click(EndBtn());
            const DialogSeen& seen = box.Result();
            const std::string name = std::string(count) + " way " + std::to_string(c.way) + " key " + std::to_string(c.key);
            EXPECT_EQ(seen.text, "回数は１～１０回に設定してください。") << name;
            Settle();
            EXPECT_EQ(TextOf(Field(3)), "3") << name;
            EXPECT_EQ(FocusedField(), 3) << name;
            EXPECT_EQ(GetFocus(), Field(3)) << name;
            EXPECT_EQ(dialog.ModalResult(), mrNone) << name;
            dialog_.reset();
        }
    }
}

TEST_F(PropFormTest, OkStoresAndWritesTheSevenKeysInOrderAndRegistersTheHotKey) {
    TPropForm& dialog = Open("Timer=90\r\nUseHK=1\r\nHKShifts=9\r\nHKChar=65\r\n");
    EXPECT_EQ(TextOf(Field(1)), "1");
    EXPECT_EQ(TextOf(Field(2)), "30");
    // Alt and the Windows key: the entry shows Alt alone.
    EXPECT_EQ(HotKey(), MAKEWORD('A', HOTKEYF_ALT));
    TypeInto(2, "99");
    Press(VK_UP);
    Press(VK_UP);  // round from the hours to the hot-key entry
    Press('M', {VK_CONTROL, VK_SHIFT});
    // A new file shows the order of the writes.
    ASSERT_TRUE(DeleteFileA(IniPath().c_str()));
    Click(DoBtn());
    EXPECT_EQ(dialog.ModalResult(), mrOk);
    EXPECT_EQ(hotKeyApplied_, 1);
    EXPECT_EQ(state_.AppSettings.IntervalMinutes.load(), 159u);
    EXPECT_EQ(ReadFileBytes(IniPath()),
              "[Settings]\r\nTimer=159\r\nMsgBox=1\r\nCounter=3\r\nManOnce=1\r\nUseHK=1\r\nHKShifts=6\r\nHKChar=77\r\n");
}

TEST_F(PropFormTest, StoredCountsTheFieldCannotShowAreWrittenOnlyOnOk) {
    struct Case {
        const char* stored;
        const char* shown;
        int32_t written;
    } cases[] = {{"300", "99", 99}, {"-5", "0", 1}, {"0", "0", 1}, {"12", "12", 12}};
    for (const Case& c : cases) {
        const std::string ini = std::string("Counter=") + c.stored + "\r\n";
        Open(ini);
        EXPECT_EQ(TextOf(Field(3)), c.shown) << c.stored;
        EXPECT_EQ(ReadFileBytes(IniPath()), "[Settings]\r\n" + ini) << "nothing is written before OK";
        Press(VK_F9);  // from the hours field: the count field is never left
        EXPECT_EQ(state_.AppSettings.PassCount.load(), c.written) << c.stored;
        dialog_.reset();
    }
}

TEST_F(PropFormTest, CancelChangesNothing) {
    const std::string ini = "Timer=5\r\nUseHK=1\r\nHKShifts=2\r\nHKChar=75\r\n";
    for (int way = 0; way < 3; ++way) {
        TPropForm& dialog = Open(ini);
        TypeInto(1, "7");
        Click(Field(6));  // unticks the hot key
        if (way == 0) Press(VK_F12);
        if (way == 1) Click(EndBtn());
        if (way == 2) SendMessageA(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
        EXPECT_EQ(ReadFileBytes(IniPath()), "[Settings]\r\n" + ini) << way;
        EXPECT_EQ(state_.AppSettings.IntervalMinutes.load(), 5u) << way;
        EXPECT_TRUE(state_.AppSettings.UseHotKey.load()) << way;
        EXPECT_EQ(hotKeyApplied_, 0) << way;
        dialog_.reset();
    }
}

TEST_F(PropFormTest, ARefusedWriteKeepsTheDialogOpen) {
    TPropForm& dialog = Open("");
    ASSERT_TRUE(DeleteFileA(IniPath().c_str()));
    ASSERT_TRUE(CreateDirectoryA(IniPath().c_str(), nullptr));
    Press(VK_F9);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].text, IniPath() + " に書き込めません");
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(hotKeyApplied_, 0) << "the hot key stays as it was";
}

}  // namespace
}  // namespace kestrin::test
