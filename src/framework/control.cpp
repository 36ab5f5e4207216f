#include "framework/control.h"

#include <windowsx.h>

#include <atomic>
#include <string>
#include <utility>

#include "framework/graphic_control.h"
#include "win32/portable/error.h"
#include "win32/ui_font.h"
#include "framework/window_class.h"

namespace kestrin {

namespace {

// Routing goes by window handle; the identifier only has to be a valid,
// distinct 16-bit value for the system's own use (dialog navigation).
constinit std::atomic<int> nextControlId{0};

int NextControlId() { return 1000 + nextControlId.fetch_add(1) % 60000; }

bool IsMousePress(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

// Whether the window has anything outside its client area (a border, an edge).
bool HasFrame(HWND window) {
    RECT outer{}, inner{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    return outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom;
}

}  // namespace

Control::Control(HWND parent) : WindowBinding(wkControl, &DispatchTo<Control>), parent_(parent) {}

Control::~Control() { DestroyUnbound(); }

Control* Control::FromHandle(HWND window) noexcept { return static_cast<Control*>(Find(window, wkControl)); }

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

bool KeyWantedByWindow(HWND window, WORD key) {
    const LRESULT code = SendMessageA(window, WM_GETDLGCODE, 0, 0);
    switch (key) {
        case VK_TAB:
            return (code & DLGC_WANTTAB) != 0;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return (code & DLGC_WANTARROWS) != 0;
        default:
            return (code & DLGC_WANTALLKEYS) != 0;
    }
}

bool Control::WantsKey(WORD key) const { return KeyWantedByWindow(Handle(), key); }

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

void Control::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled ? TRUE : FALSE); }

bool Control::Enabled() const { return IsWindowEnabled(Handle()) != FALSE; }

void Control::SetTabStop(bool tabStop) {
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongA(Handle(), GWL_STYLE, style);
}

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

RECT Control::ClientArea() const {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    return rect;
}

void Control::Create(const char* className, ControlArgs args) {
    if (!ownClass_ && !commonControls_) commonControls_ = CommonControls::Hold();
    className_ = className;
    args_ = std::move(args);
    MakeWindow(NextControlId(), nullptr);
    SetFont(args_.font ? args_.font : UiFont());
}

void Control::CreateOwn(const char* className, ControlArgs args, UINT classStyle) {
    EnsureWindowClass(WindowClassDescription{.name = className, .procedure = &Procedure, .style = classStyle});
    ownClass_ = true;
    Create(className, std::move(args));
}

void Control::MakeWindow(int id, HWND insertAfter) {
    // Our own classes are bound at WM_NCCREATE, the system's right after.
    HWND window = CreateWindowExA(args_.exStyle, className_, args_.text.c_str(), args_.style | WS_CHILD,
                                  args_.bounds.x, args_.bounds.y, args_.bounds.width, args_.bounds.height, parent_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(),
                                  ownClass_ ? static_cast<WindowBinding*>(this) : nullptr);
    const DWORD error = window ? 0 : GetLastError();
    if (window && !ownClass_ && !Hook(window, commonControls_)) DestroyWindow(window);
    if (!Handle()) throw KestrinError::Format("ウィンドウ %s を作成できません。", className_, error);
    if (insertAfter) SetWindowPos(window, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::Recreate() { Rebuild(0, 0); }

void Control::Rebuild(DWORD remove, DWORD add) {
    HWND old = Handle();
    if (!old) return;
    const bool hadFocus = GetFocus() == old;
    const HFONT font = Font();
    // The window's own styles carry every change made since creation
    // (visible, enabled, tab stop, read-only...); the request goes on top.
    args_.style = ((static_cast<DWORD>(GetWindowLongA(old, GWL_STYLE)) & ~WS_CHILD) & ~remove) | add;
    args_.exStyle = static_cast<DWORD>(GetWindowLongA(old, GWL_EXSTYLE));
    args_.text = Text();
    args_.bounds = GetBounds();
    const int id = GetDlgCtrlID(old);
    // The new window takes the old one's place among its siblings (the tab order).
    HWND previous = GetWindow(old, GW_HWNDPREV);
    DestroyUnbound();
    MakeWindow(id, previous ? previous : HWND_TOP);
    SetFont(font);
    if (hadFocus) SetFocus(Handle());
    WindowCreated();
}

bool Control::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void Control::DoKeyDown(WORD& key, ShiftState shift) {
    // A copy: the handler may replace itself while it runs.
    if (const KeyEvent handler = OnKeyDown) handler(*this, key, shift);
}

void Control::DoKeyPress(char& key) {
    if (const KeyPressEvent handler = OnKeyPress) handler(*this, key);
}

void Control::FireMouseDown(UINT message, WPARAM wParam, LPARAM lParam) {
    const MouseEvent handler = OnMouseDown;
    if (!handler) return;
    handler(*this, PressedButton(message), MouseShiftState(message, wParam), GET_X_LPARAM(lParam),
            GET_Y_LPARAM(lParam));
}

LRESULT Control::Inherited(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(wParam);
            DoKeyDown(key, KeyboardShiftState(message == WM_SYSKEYDOWN && (lParam & (1 << 29)) != 0));
            if (key == 0) return 0;
            wParam = key;
            break;
        }
        case WM_CHAR: {
            char key = static_cast<char>(wParam);
            DoKeyPress(key);
            if (key == '\0') return 0;
            wParam = static_cast<unsigned char>(key);
            break;
        }
        default:
            if (IsMousePress(message)) {
                const LRESULT result = CallDefault(message, wParam, lParam);
                // The press may have destroyed the control's window.
                if (Handle()) FireMouseDown(message, wParam, lParam);
                return result;
            }
            break;
    }
    return CallDefault(message, wParam, lParam);
}

void Control::Invalidate() { InvalidateRect(Handle(), nullptr, TRUE); }

LRESULT Control::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage) {
        // A copy: the filter may replace itself while it runs.
        const MessageFilter filter = OnMessage;
        if (filter(message, wParam, lParam, result)) return result;
    }
    // Graphic controls drawn on this control get their mouse first.
    if (GraphicHost* host = Graphics(); host && host->HandleMessage(message, wParam, lParam, result))
        return result;
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
            case WM_NCPAINT:
                // Without a frame there is nothing to draw there, but the
                // system's handling would still take a context from its cache.
                if (!HasFrame(Handle())) return 0;
                break;
            default:
                break;
        }
    }
    return Inherited(message, wParam, lParam);
}

void Control::PaintWithGraphics(HDC dc) {
    Paint(dc);
    if (GraphicHost* host = Graphics()) host->Paint(dc);
}

bool Control::HandlePaintMessage(UINT message, WPARAM wParam, LRESULT& result) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            PaintWithGraphics(dc);
            EndPaint(Handle(), &paint);
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            PaintWithGraphics(reinterpret_cast<HDC>(wParam));
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
