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

// What the object is shown for a character the code page lacks (an emoji,
// "é"): one that no handler takes for a character of a number, never the
// look-alike the system's best fit would pick ("¥" a backslash, "²" a "2").
constexpr char kLackingCharacter[] = "?";

}  // namespace

// A character as the control was typed it (a surrogate pair whole) and as
// the object is shown it, in cp932. What the object passes on unchanged goes
// on as it came.
struct WindowBinding::TypedCharacter {
    wchar_t units[2] = {};
    int unitCount = 0;
    char bytes[2] = {};
    int byteCount = 0;

    bool Shown(const char* text, int length) const noexcept {
        return length == byteCount && text[0] == bytes[0] && (length == 1 || text[1] == bytes[1]);
    }
};

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
        const char* text = bytes[0] ? bytes : bytes + 1;
        const int length = bytes[0] ? 2 : 1;
        // What the object passes on as it was shown goes on as it was typed.
        if (typing_ && typing_->Shown(text, length)) {
            LRESULT result = 0;
            for (int i = 0; i < typing_->unitCount; ++i)
                result = subclass_->DefSubclassProc(window, message, typing_->units[i], lParam);
            return result;
        }
        wchar_t unit = 0;
        MultiByteToWideChar(CP_ACP, 0, text, length, &unit, 1);
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
    const auto unit = static_cast<wchar_t>(wParam);
    // The two halves of a pair are one character.
    if (IS_HIGH_SURROGATE(unit)) {
        self->highSurrogate_ = unit;
        return 0;
    }
    TypedCharacter typed;
    const wchar_t high = std::exchange(self->highSurrogate_, L'\0');
    if (high && IS_LOW_SURROGATE(unit)) typed.units[typed.unitCount++] = high;
    typed.units[typed.unitCount++] = unit;
    // A double-byte character comes as its two bytes, as to an ANSI window.
    BOOL lacking = FALSE;
    typed.byteCount = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, typed.units, typed.unitCount, typed.bytes,
                                          sizeof typed.bytes, kLackingCharacter, &lacking);
    if (lacking || typed.byteCount <= 0) {
        typed.bytes[0] = kLackingCharacter[0];
        typed.byteCount = 1;
    }
    const TypedCharacter* outer = std::exchange(self->typing_, &typed);
    LRESULT result = 0;
    for (int i = 0; i < typed.byteCount && self->Handle(); ++i)
        result = self->Deliver(message, static_cast<unsigned char>(typed.bytes[i]), lParam);
    self->typing_ = outer;
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
