#include "controls/masked_numeric_edit.h"

#include <imm.h>

#include "win32/beep.h"
#include "win32/clipboard.h"
#include "win32/system_dlls.h"

namespace kestrin {

namespace {

// The text to show: the formatted value without its leading blanks (and
// anything else up to and including the blank).
std::string DisplayText(const std::string& mask, uint8_t value) {
    const std::string formatted = MaskFormat(mask, value);
    size_t start = 0;
    while (start < formatted.size() && static_cast<unsigned char>(formatted[start]) <= 0x20) ++start;
    return formatted.substr(start);
}

// The input method never comes to the field: with no input context of its
// own, no text is composed for it (which the edit would insert from
// WM_IME_CHAR or WM_IME_COMPOSITION, past the key filter), and the user's
// input method stays as it was for the other fields.
void KeepInputMethodOff(HWND window) {
    const SystemLibrary imm32("imm32.dll");
    if (const auto associate = imm32.Find<decltype(&::ImmAssociateContextEx)>("ImmAssociateContextEx"))
        associate(window, nullptr, 0);
}

}  // namespace

TBEdit::TBEdit(HWND parent, const Bounds& bounds) : TBEdit(parent, bounds, 0) {}

TBEdit::TBEdit(HWND parent, const Bounds& bounds, DWORD extraStyle)
    : Edit(parent, {.text = "0", .bounds = bounds}, ES_MULTILINE | ES_RIGHT | extraStyle) {
    SetMaxLength(static_cast<int>(mask_.size()));
    SetSuji(0);
    KeepInputMethodOff(Handle());
}

void TBEdit::WindowCreated() {
    Edit::WindowCreated();
    KeepInputMethodOff(Handle());
}

void TBEdit::SetMask(std::string_view mask) {
    std::string filtered = FilterMask(mask);
    SetMaxLength(static_cast<int>(filtered.size()));
    mask_ = std::move(filtered);
    // While a form description is read the text stays; its Suji comes next.
    if (!Loading()) SetSuji(Suji());
}

uint8_t TBEdit::Suji() {
    const std::optional<int32_t> cast = CastToWhole(TextToNumber(Text()), castMode_);
    const int32_t candidate = cast ? *cast : lastSuji_;
    if (candidate < 0 || candidate > 255 || candidate < rangeStart_ || candidate > rangeEnd_) {
        SetSuji(lastSuji_);
        return lastSuji_;
    }
    lastSuji_ = static_cast<uint8_t>(candidate);
    return lastSuji_;
}

void TBEdit::SetSuji(uint8_t value) { SetText(DisplayText(mask_, value)); }

bool TBEdit::IsNumberCharacter(char key) const noexcept {
    switch (key) {
        case ',':
        case '.':
        case '/':
        case ':':
        case '\\':
        case '\b':
        case '\x1B':
            return true;
        case '-':
            return MaskAllowsMinus();
        default:
            return key >= '0' && key <= '9';
    }
}

void TBEdit::KeyPress(char& key) {
    DoKeyPress(key);
    if (ReadOnly() || key == '\0') return;
    if (!IsNumberCharacter(key)) key = '\0';
}

void TBEdit::Paste() {
    const std::optional<std::string> text = ClipboardText(Handle());
    if (!text) return;
    if (IsPasteNumber(*text))
        CallDefault(WM_PASTE, 0, 0);
    else
        RefusalBeep();
}

bool TBEdit::LRKeyDown(WORD key) {
    if (!lrKeyDownSelect_ || (key != VK_LEFT && key != VK_RIGHT)) return false;
    const auto [start, end] = Selection();
    const int length = GetWindowTextLengthA(Handle());
    // A copy: the handler may replace itself.
    const TExitKeyEvent handler = OnLRKeyDown;
    if (!handler) return false;
    const bool wholeText = end - start == length;
    const bool atEdge = (key == VK_LEFT && start == 0) || (key == VK_RIGHT && start >= length);
    if (!wholeText && !atEdge) return false;
    handler(*this, key);
    return true;
}

bool TBEdit::HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CHAR: {
            char key = static_cast<char>(wParam);
            KeyPress(key);
            result = key == '\0' ? 0 : CallDefault(message, static_cast<unsigned char>(key), lParam);
            return true;
        }
        case WM_KEYDOWN:
            if (!LRKeyDown(static_cast<WORD>(wParam))) return false;
            result = 0;
            return true;
        case WM_SETFOCUS:
            result = CallDefault(message, wParam, lParam);
            SetSuji(Suji());
            if (!ReadOnly() && autoSelect_) SelectAll();
            return true;
        case WM_KILLFOCUS:
            SetSuji(Suji());
            result = CallDefault(message, wParam, lParam);
            return true;
        case WM_PASTE:
            Paste();
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace kestrin
