#include "framework/window_binding.h"

#include <utility>

#include "framework/graphic_control.h"
#include "framework/handler_guard.h"
#include "framework/portable/messages.h"

namespace kestrin {

namespace {

// comctl32 hands a subclass its window's messages in UTF-16 (the system's
// controls are Unicode windows); the characters typed reach the object in
// cp932, as everything else in the program, and go on in UTF-16.
bool Converted(HWND window, UINT message) { return message == WM_CHAR && IsWindowUnicode(window); }

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

LRESULT WindowBinding::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    HWND window = Handle();
    if (!subclass_) return DefWindowProcA(window, message, wParam, lParam);
    if (Converted(window, message)) {
        // The lead byte of a double-byte character waits for its trail byte.
        const char bytes[2] = {std::exchange(leadByte_, '\0'), static_cast<char>(wParam)};
        if (!bytes[0] && IsDBCSLeadByte(static_cast<BYTE>(bytes[1]))) {
            leadByte_ = bytes[1];
            return 0;
        }
        wchar_t unit = 0;
        MultiByteToWideChar(CP_ACP, 0, bytes[0] ? bytes : bytes + 1, bytes[0] ? 2 : 1, &unit, 1);
        wParam = unit;
    }
    return subclass_->DefSubclassProc(window, message, wParam, lParam);
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
    // A double-byte character comes as its two bytes, as to an ANSI window.
    char bytes[2];
    const auto unit = static_cast<wchar_t>(wParam);
    const int count = WideCharToMultiByte(CP_ACP, 0, &unit, 1, bytes, sizeof bytes, nullptr, nullptr);
    LRESULT result = 0;
    for (int i = 0; i < count && self->Handle(); ++i)
        result = self->Deliver(message, static_cast<unsigned char>(bytes[i]), lParam);
    return result;
}

LRESULT WindowBinding::Deliver(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
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
