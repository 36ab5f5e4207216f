#include "framework/label.h"

#include <utility>

#include "win32/handles.h"

namespace kestrin {

Label::Label(HWND parent, const Bounds& bounds, std::string_view text) : Control(parent) {
    CreateOwn("KestrinLabel", {.text = std::string(text), .bounds = bounds});
}

void Label::SetAlignment(TextAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void Label::SetColor(COLORREF color) {
    if (color == color_) return;
    color_ = color;
    Invalidate();
}

void Label::SetFontStyle(FontStyle style) {
    // The new style is shown before the old one is let go.
    StyledUiFont font(style);
    SetFont(font.Get());
    styledFont_ = std::move(font);
    if (autoSize_) FitToText();
}

void Label::SetWordWrap(bool wrap) {
    if (wrap == wordWrap_) return;
    wordWrap_ = wrap;
    Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) FitToText();
}

UINT Label::DrawFlags() const {
    UINT flags = DT_NOPREFIX;
    switch (alignment_) {
        case TextAlignment::Left: flags |= DT_LEFT; break;
        case TextAlignment::Center: flags |= DT_CENTER; break;
        case TextAlignment::Right: flags |= DT_RIGHT; break;
    }
    // Without wrapping a CR LF in the text still starts a new line.
    if (wordWrap_) flags |= DT_WORDBREAK;
    return flags;
}

void Label::FitToText() {
    const std::string text = Text();
    WindowDC dc(Handle());
    SelectGuard font(dc.get(), Font());
    RECT rect{0, 0, wordWrap_ ? GetBounds().width : 0, 0};
    DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect, DrawFlags() | DT_CALCRECT);
    const Bounds bounds = GetBounds();
    SetBounds(bounds.x, bounds.y, rect.right - rect.left, rect.bottom - rect.top);
}

void DrawLabelText(HDC dc, RECT rect, std::string_view text, HFONT font, COLORREF color, UINT flags) {
    if (text.empty()) return;
    SelectGuard selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, flags);
}

void Label::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    COLORREF color = color_ == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : color_;
    if (!Enabled()) color = GetSysColor(COLOR_GRAYTEXT);
    DrawLabelText(dc, client, Text(), Font(), color, DrawFlags());
}

bool Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (HandlePaintMessage(message, wParam, result)) return true;
    switch (message) {
        case WM_SETTEXT:
            result = CallDefault(message, wParam, lParam);
            if (autoSize_) FitToText();
            Invalidate();
            return true;
        default:
            return false;
    }
}

}  // namespace kestrin
