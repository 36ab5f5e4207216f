#pragma once
// Numbers of the resources the program loads by number. The shell shows an
// executable's icon groups in the order they are stored: named ones first,
// sorted by name, then numbered ones. The button pictures are numbered so
// that "MAINICON" and "MAINICON2" stay the first two groups (icon index 0 for
// the program and its resident shortcuts, 1 for the one-shot shortcuts).
#define IDI_DO_GLYPH 101
#define IDI_DO_GLYPH_OFF 102
#define IDI_END_GLYPH 103
#define IDI_END_GLYPH_OFF 104
