#pragma once
// The one way the program registers its window classes: the application
// window, every form class and the self-painted control classes.
#include <windows.h>

namespace kestrin {

struct WindowClassDescription {
    const char* name = nullptr;
    WNDPROC procedure = DefWindowProcA;
    UINT style = 0;
    int windowExtra = 0;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
    // A class of that name that another procedure serves is a clash (two
    // forms with one class name); classes served through a subclass
    // (controls) do not care.
    bool procedureMustMatch = false;
};

// Registers the class in the program's module unless it is there already.
// Throws KestrinError "ウィンドウクラス %s を登録できません。" when the system
// refuses or a clash is found.
void EnsureWindowClass(const WindowClassDescription& windowClass);

// The module the program's classes and resources live in.
HINSTANCE ProgramInstance() noexcept;

}  // namespace kestrin
