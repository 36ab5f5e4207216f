#include "platform/control.h"

#include <atomic>
#include <string>

#include "platform/application.h"
#include "platform/portable/error.h"
#include "platform/ui_font.h"

namespace kestrin {

namespace {

constexpr char kControlProperty[] = "Kestrin.Control";

int NextControlId() {
    // Routing goes by window handle; the identifier only has to be a valid,
    // distinct 16-bit value for the system's own use (dialog navigation).
    static std::atomic<int> next{0};
    return 1000 + next.fetch_add(1) % 60000;
}

void RegisterOwnClass(const char* className) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    if (GetClassInfoExA(instance, className, &info)) return;
    info.lpfnWndProc = DefWindowProcA;  // the control's own handling comes from the subclass
    info.hInstance = instance;
    info.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    info.lpszClassName = className;
    if (!RegisterClassExA(&info) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw KestrinError::Format("ウィンドウクラス %s を登録できません。", className);
}

}  // namespace

Control::Control(HWND parent) : parent_(parent) {}

Control::~Control() {
    RestoreProcedure();
    window_.reset();
}

Control* Control::FromHandle(HWND window) {
    if (!window) return nullptr;
    return static_cast<Control*>(GetPropA(window, kControlProperty));
}

bool Control::RouteCommand(WPARAM wParam, LPARAM lParam) {
    // Menu items and accelerators come with lParam 0 and belong to the form.
    Control* control = FromHandle(reinterpret_cast<HWND>(lParam));
    return control && control->HandleCommand(HIWORD(wParam));
}

bool Control::RouteNotify(LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return false;
    Control* control = FromHandle(header->hwndFrom);
    return control && control->HandleNotify(header);
}

bool Control::HandleCommand(WORD) { return false; }

bool Control::HandleNotify(NMHDR*) { return false; }

int Control::Id() const { return GetDlgCtrlID(Handle()); }

void Control::SetBounds(int x, int y, int width, int height) {
    SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Bounds Control::GetBounds() const {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Control::SetVisible(bool visible) { ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE); }

bool Control::Visible() const { return (GetWindowLongA(Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }

void Control::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled ? TRUE : FALSE); }

bool Control::Enabled() const { return IsWindowEnabled(Handle()) != FALSE; }

void Control::SetTabStop(bool tabStop) {
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongA(Handle(), GWL_STYLE, style);
}

bool Control::TabStop() const { return (GetWindowLongA(Handle(), GWL_STYLE) & WS_TABSTOP) != 0; }

void Control::SetText(std::string_view text) {
    // An unchanged text is not applied again (no change notification, no repaint).
    if (Text() == text) return;
    SetWindowTextA(Handle(), std::string(text).c_str());
}

std::string Control::Text() const {
    const int length = GetWindowTextLengthA(Handle());
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(Handle(), text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void Control::SetFont(HFONT font) { SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

HFONT Control::Font() const { return reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)); }

void Control::Focus() { SetFocus(Handle()); }

bool Control::Focused() const { return Handle() && GetFocus() == Handle(); }

RECT Control::ClientArea() const {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    return rect;
}

void Control::Create(const char* className, std::string_view text, DWORD style, DWORD exStyle,
                     const Bounds& bounds) {
    const std::string caption(text);
    HWND window = CreateWindowExA(exStyle, className, caption.c_str(), style | WS_CHILD, bounds.x, bounds.y,
                                  bounds.width, bounds.height, parent_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) throw KestrinError::Format("ウィンドウ %s を作成できません。", className);
    Bind(window);
    SetFont(UiFont());
}

void Control::CreateOwn(const char* className, std::string_view text, DWORD style, DWORD exStyle,
                        const Bounds& bounds) {
    RegisterOwnClass(className);
    ownClass_ = true;
    Create(className, text, style, exStyle, bounds);
}

bool Control::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Control::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(original_, Handle(), message, wParam, lParam);
}

void Control::Invalidate() { InvalidateRect(Handle(), nullptr, TRUE); }

void Control::Bind(HWND window) {
    window_.reset(window);
    SetPropA(window, kControlProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::Procedure)));
}

void Control::RestoreProcedure() noexcept {
    HWND window = Handle();
    if (!window) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == &Control::Procedure)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    RemovePropA(window, kControlProperty);
}

LRESULT Control::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (onMessage) {
        // A copy: the filter may replace itself while it runs.
        const MessageFilter filter = onMessage;
        if (filter(message, wParam, lParam, result)) return result;
    }
    if (HandleMessage(message, wParam, lParam, result)) return result;
    if (ownClass_) {
        switch (message) {
            case WM_SETFONT:
                font_ = reinterpret_cast<HFONT>(wParam);
                if (LOWORD(lParam)) Invalidate();
                return 0;
            case WM_GETFONT:
                return reinterpret_cast<LRESULT>(font_);
            case WM_ENABLE:
                Invalidate();
                break;
            case WM_GETDLGCODE:
                // Painted controls take no keyboard input: dialog navigation passes them by.
                return DLGC_STATIC;
            default:
                break;
        }
    }
    return CallDefault(message, wParam, lParam);
}

LRESULT CALLBACK Control::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* self = FromHandle(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The system destroys the window first (with its parent): forget it,
        // so that the object's destructor does not destroy it a second time.
        const WNDPROC original = self->original_;
        self->RestoreProcedure();
        self->window_.release();
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    return GuardedCall([&] { return self->Dispatch(message, wParam, lParam); });
}

bool Control::HandlePaintMessage(UINT message, WPARAM wParam, LRESULT& result) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            Paint(dc);
            EndPaint(Handle(), &paint);
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            result = 0;
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        default:
            return false;
    }
}

}  // namespace kestrin
