#include "framework/window_binding.h"

#include <string>
#include <utility>

#include "framework/graphic_control.h"
#include "framework/handler_guard.h"
#include "framework/portable/messages.h"

namespace kestrin {

namespace {

// comctl32 hands a subclass its window's messages in UTF-16 (the system's
// controls are Unicode windows). The two that carry what the controls read,
// a typed character and a text set, reach the object in cp932 like
// everything else in the program, and go on in UTF-16.
bool Converted(HWND window, UINT message) {
    return (message == WM_CHAR || message == WM_SETTEXT) && IsWindowUnicode(window);
}

std::string Narrow(const wchar_t* text) {
    std::string result(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr)), 0);
    WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), static_cast<int>(result.size()), nullptr, nullptr);
    return result;
}

std::wstring Widen(const char* text) {
    std::wstring result(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0)), 0);
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), static_cast<int>(result.size()));
    return result;
}

}  // namespace

WindowBinding::WindowBinding(WindowKind kind, Dispatcher dispatch) noexcept : dispatch_(dispatch), kind_(kind) {}

WindowBinding::~WindowBinding() { DestroyUnbound(); }

WindowBinding* WindowBinding::Find(HWND window, WindowKind kind) noexcept {
    // Another process's user data or reference data would be a pointer into that process.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    // The user data of a class whose procedure is not ours is someone else's.
    const bool ourClass = reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)) == &Procedure;
    auto* bound = reinterpret_cast<WindowBinding*>(ourClass ? GetWindowLongPtrA(window, GWLP_USERDATA)
                                                            : CommonControls::SubclassData(window, &SubclassProcedure));
    return bound && bound->kind_ == kind ? bound : nullptr;
}

bool WindowBinding::Hook(HWND window, const CommonControls& library) noexcept {
    if (!library || !library->SetWindowSubclass(window, &SubclassProcedure, 0, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_.reset(window);
    subclass_ = library.operator->();
    return true;
}

void WindowBinding::Unbind() noexcept {
    HWND window = Handle();
    if (!window) return;
    // The window's own procedure takes over: the system control's, or
    // DefWindowProcA, which is all an unbound window of our class gets.
    if (subclass_)
        subclass_->RemoveWindowSubclass(window, &SubclassProcedure, 0);
    else
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void WindowBinding::DestroyUnbound() noexcept {
    Unbind();
    window_.reset();
    subclass_ = nullptr;
}

LRESULT WindowBinding::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = Handle();
    if (!subclass_) return DefWindowProcA(window, message, wParam, lParam);
    if (!Converted(window, message)) return subclass_->DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_SETTEXT)
        return subclass_->DefSubclassProc(window, message, wParam,
                                          reinterpret_cast<LPARAM>(Widen(reinterpret_cast<char*>(lParam)).c_str()));
    // The lead byte of a double-byte character waits for its trail byte.
    const char bytes[3] = {std::exchange(leadByte_, '\0'), static_cast<char>(wParam), '\0'};
    if (!bytes[0] && IsDBCSLeadByte(static_cast<BYTE>(bytes[1]))) {
        leadByte_ = bytes[1];
        return 0;
    }
    return subclass_->DefSubclassProc(window, message, Widen(bytes[0] ? bytes : bytes + 1)[0], lParam);
}

LRESULT CALLBACK WindowBinding::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        if (auto* object = static_cast<WindowBinding*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams)) {
            object->window_.reset(window);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        }
    }
    // Only windows of our classes come here.
    auto* self = reinterpret_cast<WindowBinding*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return self ? self->Deliver(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowBinding::SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                  DWORD_PTR object) {
    auto* self = reinterpret_cast<WindowBinding*>(object);
    if (!Converted(window, message)) return self->Deliver(message, wParam, lParam);
    if (message == WM_SETTEXT)
        return self->Deliver(message, wParam,
                             reinterpret_cast<LPARAM>(Narrow(reinterpret_cast<wchar_t*>(lParam)).c_str()));
    // A double-byte character comes as its two bytes, as to an ANSI window.
    const wchar_t unit[2] = {static_cast<wchar_t>(wParam), L'\0'};
    LRESULT result = 0;
    for (const char byte : Narrow(unit))
        if (byte && self->Handle()) result = self->Deliver(message, static_cast<unsigned char>(byte), lParam);
    return result;
}

LRESULT WindowBinding::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        // The window's last message: the object lets go of it.
        Unbind();
        const LRESULT result = CallDefault(message, wParam, lParam);
        (void)window_.release();
        subclass_ = nullptr;
        if (graphics_) graphics_->WindowGone();
        return result;
    }
    return GuardedCall([&]() -> LRESULT {
        if (message != kGraphicHostMessage) return dispatch_(*this, message, wParam, lParam);
        if (!graphics_) graphics_ = std::make_unique<GraphicHost>(window_);
        return reinterpret_cast<LRESULT>(graphics_.get());
    });
}

}  // namespace kestrin
