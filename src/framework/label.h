#pragma once
// A line (or a few wrapped lines) of text drawn on the button-face colour.
// Painted by the control itself rather than by a STATIC, so that colour and
// font style need nothing from the parent window.
#include "framework/control.h"
#include "win32/ui_font.h"

namespace kestrin {

// Draws `text` as a label does: in `font` and `color` on the background
// already there, with DrawTextA's `flags`, clipped to `rect`.
void DrawLabelText(HDC dc, RECT rect, std::string_view text, HFONT font, COLORREF color, UINT flags);

class Label : public Control {
public:
    explicit Label(HWND parent, const Bounds& bounds = {}, std::string_view text = {});

    void SetAlignment(TextAlignment alignment);

    // CLR_DEFAULT stands for the system's window-text colour.
    void SetColor(COLORREF color);

    // Shows the UI font in the given style, held while the label shows it.
    void SetFontStyle(FontStyle style);

    void SetWordWrap(bool wrap);

    // When on, every text change resizes the label to fit its text
    // (width of the longest line, height of the lines).
    void SetAutoSize(bool autoSize);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;
    void FitToText();
    UINT DrawFlags() const;

    TextAlignment alignment_ = TextAlignment::Left;
    COLORREF color_ = CLR_DEFAULT;
    bool wordWrap_ = false;
    bool autoSize_ = false;
    StyledUiFont styledFont_;
};

}  // namespace kestrin
