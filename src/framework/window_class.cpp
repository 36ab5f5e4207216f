#include "framework/window_class.h"

#include "win32/portable/error.h"

namespace kestrin {

HINSTANCE ProgramInstance() noexcept { return GetModuleHandleA(nullptr); }

HICON ProgramIcon() noexcept { return LoadIconA(ProgramInstance(), "MAINICON"); }

HICON ProgramSmallIcon() noexcept {
    return static_cast<HICON>(LoadImageA(ProgramInstance(), "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

void EnsureWindowClass(const WindowClassDescription& windowClass) {
    const HINSTANCE instance = ProgramInstance();
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    if (GetClassInfoExA(instance, windowClass.name, &info)) {
        if (info.lpfnWndProc != windowClass.procedure)
            throw KestrinError::Format("ウィンドウクラス %s を登録できません。", windowClass.name, ERROR_CLASS_ALREADY_EXISTS);
        return;
    }
    info = {};
    info.cbSize = sizeof info;
    info.style = windowClass.style;
    info.lpfnWndProc = windowClass.procedure;
    info.hInstance = instance;
    info.hIcon = windowClass.icon;
    info.hIconSm = windowClass.smallIcon;
    info.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    info.hbrBackground = windowClass.background;
    info.lpszClassName = windowClass.name;
    // Another thread may have registered it in the meantime.
    if (!RegisterClassExA(&info)) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS)
            throw KestrinError::Format("ウィンドウクラス %s を登録できません。", windowClass.name, error);
    }
}

}  // namespace kestrin
