#include "platform/window_class.h"

#include "platform/portable/error.h"

namespace kestrin {

HINSTANCE ProgramInstance() noexcept { return GetModuleHandleA(nullptr); }

void EnsureWindowClass(const WindowClassSpec& spec) {
    const HINSTANCE instance = ProgramInstance();
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    if (GetClassInfoExA(instance, spec.name, &info)) {
        if (spec.procedureMustMatch && info.lpfnWndProc != spec.procedure)
            throw KestrinError::Format("ウィンドウクラス %s を登録できません。", spec.name);
        return;
    }
    info = {};
    info.cbSize = sizeof info;
    info.style = spec.style;
    info.lpfnWndProc = spec.procedure;
    info.cbWndExtra = spec.windowExtra;
    info.hInstance = instance;
    info.hIcon = spec.icon;
    info.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    info.hbrBackground = spec.background;
    info.lpszClassName = spec.name;
    // Another thread may have registered it in the meantime.
    if (!RegisterClassExA(&info) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw KestrinError::Format("ウィンドウクラス %s を登録できません。", spec.name);
}

}  // namespace kestrin
