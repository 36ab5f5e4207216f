#include "controls/aligned_numeric_edit.h"

#include "win32/beep.h"
#include "win32/clipboard.h"
#include "win32/handles.h"
#include "win32/screen_dpi.h"

namespace kestrin {

namespace {

constexpr char kSelectAll = '\x01';
constexpr char kCopy = '\x03';
constexpr char kPaste = '\x16';
constexpr char kCut = '\x18';

bool IsClipboardKey(char key) { return key == kCopy || key == kPaste || key == kCut; }

// Height of "Hg" in the window's font.
int TextLineHeight(HWND window) {
    WindowDC dc(window);
    if (!dc.get()) return 0;
    const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    if (!GetTextExtentPoint32A(dc.get(), "Hg", 2, &size)) return 0;
    return size.cy;
}

}  // namespace

RECT AlignedTextRect(const RECT& client, int textHeight, TplVertAlignment alignment, int leftIndent,
                     int rightIndent, int margin) {
    const int height = client.bottom - client.top;
    int top = margin;
    if (alignment == tvaCenter) top = client.top + (height - textHeight) / 2;
    if (alignment == tvaBottom) top = client.top + height - textHeight - margin;
    return {client.left + leftIndent, top, client.right - rightIndent, top + textHeight};
}

TVaBEdit::TVaBEdit(HWND parent, const Bounds& bounds) : TBEdit(parent, bounds, ES_WANTRETURN) { UpdateFormatRect(); }

void TVaBEdit::SetVertAlignment(TplVertAlignment alignment) {
    if (alignment == vertAlignment_) return;
    vertAlignment_ = alignment;
    Recreate();
}

void TVaBEdit::SetLeftIndent(int32_t pixels) {
    if (pixels == leftIndent_) return;
    leftIndent_ = pixels;
    UpdateFormatRect();
}

void TVaBEdit::SetRightIndent(int32_t pixels) {
    if (pixels == rightIndent_) return;
    rightIndent_ = pixels;
    UpdateFormatRect();
}

void TVaBEdit::UpdateFormatRect() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const bool sunken = (GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    // The margin is a line's width (1 or 2 pixels at 96 dpi), scaled as the edges are.
    RECT rect = AlignedTextRect(client, TextLineHeight(Handle()), vertAlignment_, leftIndent_, rightIndent_,
                                ScaledLine(sunken ? 1 : 2));
    SendMessageA(Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rect));
}

void TVaBEdit::WindowCreated() {
    TBEdit::WindowCreated();
    UpdateFormatRect();
}

void TVaBEdit::KeyPress(char& key) {
    if (!ReadOnly()) {
        if (key == kSelectAll) {
            SelectAll();
            key = '\0';
        } else if (!IsNumberCharacter(key) && key != '\r' && !IsClipboardKey(key)) {
            key = '\0';
        }
        // Straight on to the edit's own copy, paste and cut.
        if (IsClipboardKey(key)) return;
    }
    TBEdit::KeyPress(key);
}

void TVaBEdit::Paste() {
    const std::optional<std::string> text = ClipboardText(Handle());
    if (!text) return;
    // The whole text, not an insertion; the next read of Suji checks it.
    // The caret goes after it, as after any paste.
    if (IsPasteNumber(*text)) {
        SetWindowTextA(Handle(), text->c_str());
        SendMessageA(Handle(), EM_SETSEL, text->size(), text->size());
    } else {
        RefusalBeep();
    }
}

bool TVaBEdit::HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SIZE:
        case WM_SETFONT:
            result = CallDefault(message, wParam, lParam);
            UpdateFormatRect();
            return true;
        default:
            return TBEdit::HandleEditMessage(message, wParam, lParam, result);
    }
}

}  // namespace kestrin
