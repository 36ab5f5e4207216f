#pragma once
// TVaBEdit: the masked numeric edit with its one line of text placed inside
// the box: vertically (top, centre, bottom) and with free margins left and
// right. It gives the edit a formatting rectangle one text line high,
// recomputed whenever the window is made, resized or given a new font. It
// also lets the clipboard keys through, selects all on Ctrl+A, and replaces
// the whole text on a paste.
#include <cstdint>

#include "controls/masked_numeric_edit.h"

namespace kestrin {

enum TplVertAlignment : uint8_t { tvaTop = 0, tvaCenter = 1, tvaBottom = 2 };

// The formatting rectangle for a client area, the height of a text line,
// the alignment and the indents; `margin` is 1 for a sunken (3-D) edit, 2
// for a flat one, at 96 dpi (a line's width, ScaledLine, on the screen).
RECT AlignedTextRect(const RECT& client, int textHeight, TplVertAlignment alignment, int leftIndent,
                     int rightIndent, int margin);

class TVaBEdit : public TBEdit {
public:
    explicit TVaBEdit(HWND parent, const Bounds& bounds = {0, 0, 18, 18});

    // The window is made again (which applies the new rectangle).
    void SetVertAlignment(TplVertAlignment alignment);
    void SetLeftIndent(int32_t pixels);
    void SetRightIndent(int32_t pixels);

    // Computes the rectangle and hands it to the edit (EM_SETRECT).
    void UpdateFormatRect();

protected:
    void KeyPress(char& key) override;
    void Paste() override;
    void WindowCreated() override;
    bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    TplVertAlignment vertAlignment_ = tvaTop;
    int32_t leftIndent_ = 0;
    int32_t rightIndent_ = 0;
};

}  // namespace kestrin
