#pragma once
// The one way the program registers its window classes: the application
// window, every form class and the self-painted control classes.
#include <windows.h>

namespace kestrin {

// The windows the program paints itself have a device context of their own
// (CS_OWNDC), which goes with the window: painted through the system's
// shared cache, each of them would leave a context, a region and a bitmap
// in the cache for the rest of the run.
// A window that is never shown paints nothing, and a context of its own
// would be kept for nothing (kNeverPaintedClassStyle).
inline constexpr UINT kOwnPaintedClassStyle = CS_OWNDC;
inline constexpr UINT kNeverPaintedClassStyle = 0;

struct WindowClassDescription {
    const char* name = nullptr;
    WNDPROC procedure = DefWindowProcA;
    UINT style = 0;
    HICON icon = nullptr;
    // Given, so that the system does not make a small copy of `icon` for
    // every class.
    HICON smallIcon = nullptr;
    HBRUSH background = nullptr;
};

// Registers the class in the program's module unless it is there already.
// Throws KestrinError "ウィンドウクラス %s を登録できません。" when the system
// refuses or a class of that name has another procedure (two forms with one
// class name).
void EnsureWindowClass(const WindowClassDescription& windowClass);

// The module the program's classes and resources live in.
HINSTANCE ProgramInstance() noexcept;

// The program's icon "MAINICON" at the system's large and small icon sizes,
// loaded once and shared by every class.
HICON ProgramIcon() noexcept;
HICON ProgramSmallIcon() noexcept;

}  // namespace kestrin
