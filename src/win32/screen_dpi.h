#pragma once
// The screen's density, read once, and the program's one scale from its
// 96-dpi layouts to it. Kestrin declares itself aware of the system's DPI
// (its manifest), so the system reports the real density and stretches
// nothing: every position, size, font height, frame and picture it lays out
// goes through Scaled (lines through ScaledLine). At 96 dpi both give their
// argument back.
namespace kestrin {

// LOGPIXELSY of the screen, asked on first use (any thread); 96 when the
// screen cannot be asked.
int ScreenDpi() noexcept;

// MulDiv(value, ScreenDpi(), 96) (win32/portable/display_scale.h).
int Scaled(int value) noexcept;
// A line's width: whole pixels per design pixel, at least one.
int ScaledLine(int value) noexcept;

}  // namespace kestrin
