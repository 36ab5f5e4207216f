#include "framework/window_binding.h"

#include "framework/graphic_control.h"
#include "framework/handler_guard.h"
#include "framework/portable/messages.h"

namespace kestrin {

namespace {
constexpr char kBindingProperty[] = "Kestrin.Window";
}  // namespace

WindowBinding::WindowBinding(WindowKind kind, Dispatcher dispatch) noexcept : dispatch_(dispatch), kind_(kind) {}

WindowBinding::~WindowBinding() { DestroyUnbound(); }

WindowBinding* WindowBinding::Find(HWND window, WindowKind kind) noexcept {
    // A property of another process's window would be a pointer into that process.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    auto* bound = static_cast<WindowBinding*>(GetPropA(window, kBindingProperty));
    return bound && bound->kind_ == kind ? bound : nullptr;
}

void WindowBinding::Bind(HWND window) noexcept {
    window_.reset(window);
    SetPropA(window, kBindingProperty, this);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void WindowBinding::Clear(HWND window) noexcept {
    RemovePropA(window, kBindingProperty);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void WindowBinding::BindCreated(HWND window) noexcept {
    Bind(window);
    defaultProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBinding::Procedure)));
}

void WindowBinding::Unbind() noexcept {
    HWND window = Handle();
    if (!window) return;
    // The procedure behind ours takes over: a subclassed control's own, or
    // DefWindowProcA, which is all an unbound window of our class gets.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == &WindowBinding::Procedure)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProcedure_));
    Clear(window);
}

void WindowBinding::DestroyUnbound() noexcept {
    Unbind();
    window_.reset();
}

LRESULT CALLBACK WindowBinding::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        if (auto* object = static_cast<WindowBinding*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams))
            object->Bind(window);
    }
    // Only our classes and the controls we subclassed come here, and their
    // user data is ours.
    auto* self = reinterpret_cast<WindowBinding*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window's last message: the object lets go of it first.
        Clear(window);
        (void)self->window_.release();
        if (self->graphics_) self->graphics_->WindowGone();
        return CallWindowProcA(self->defaultProcedure_, window, message, wParam, lParam);
    }
    return GuardedCall([&]() -> LRESULT {
        if (message != kGraphicHostMessage) return self->dispatch_(*self, message, wParam, lParam);
        if (!self->graphics_) self->graphics_ = std::make_unique<GraphicHost>(self->window_);
        return reinterpret_cast<LRESULT>(self->graphics_.get());
    });
}

}  // namespace kestrin
