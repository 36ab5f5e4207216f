#pragma once
// Keyboard and mouse input injected through SendInput, as a user's would be.
#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace kestrin::test {

// Presses the modifiers, taps the key, releases everything in reverse order.
void SendKeyChord(std::initializer_list<WORD> modifiers, WORD key);
void SendKey(WORD key);
// Types each UTF-16 unit as a key of its own (KEYEVENTF_UNICODE), as an on-screen keyboard does.
void TypeUnits(std::wstring_view units);

// Moves the pointer to a screen point and clicks the left or right button.
void ClickAt(int x, int y, bool right = false);
// Moves the pointer to a screen point, as the user's mouse would.
void MoveMouseTo(int x, int y);

}  // namespace kestrin::test
