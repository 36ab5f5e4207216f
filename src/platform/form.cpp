#include "platform/form.h"

#include <windowsx.h>

#include <stdexcept>

#include "platform/application.h"
#include "platform/button.h"
#include "platform/flat_button.h"
#include "platform/portable/error.h"
#include "platform/ui_font.h"

namespace kestrin {

namespace {

// The windows a modal form takes the input from: the visible, enabled
// top-level windows of the thread, its owner and the application window.
// Given back when the object goes, so also when the modal loop throws.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled(HWND modal, HWND owner) : modal_(modal), owner_(owner) {
        EnumThreadWindows(GetCurrentThreadId(), &TaskWindowsDisabled::Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : disabled_) EnableWindow(window, FALSE);
    }
    ~TaskWindowsDisabled() {
        for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
            if (IsWindow(*it)) EnableWindow(*it, TRUE);
        }
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM context) {
        auto* self = reinterpret_cast<TaskWindowsDisabled*>(context);
        if (window == self->modal_ || !IsWindowEnabled(window)) return TRUE;
        if (IsWindowVisible(window) || window == self->owner_ || window == App().Handle())
            self->disabled_.push_back(window);
        return TRUE;
    }

    HWND modal_;
    HWND owner_;
    std::vector<HWND> disabled_;
};

class ModalFlag {
public:
    explicit ModalFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ModalFlag() { flag_ = false; }
    ModalFlag(const ModalFlag&) = delete;
    ModalFlag& operator=(const ModalFlag&) = delete;

private:
    bool& flag_;
};

DWORD BorderStyleBits(FormBorderStyle border, bool systemMenu) {
    switch (border) {
        case bsNone:
            return WS_POPUP;
        case bsSingle:
            return WS_CAPTION | (systemMenu ? WS_SYSMENU | WS_MINIMIZEBOX : 0);
        case bsDialog:
            return WS_POPUP | WS_CAPTION | (systemMenu ? WS_SYSMENU : 0);
        case bsSizeable:
        default:
            return WS_CAPTION | WS_THICKFRAME | (systemMenu ? WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX : 0);
    }
}

ShiftState KeyboardShift(bool altHeld) {
    ShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (altHeld || GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

bool IsDialogKey(WPARAM key) {
    switch (key) {
        case VK_TAB:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
        case VK_RETURN:
        case VK_ESCAPE:
            return true;
        default:
            return false;
    }
}

int ButtonModalResult(Control* control) {
    if (auto* button = dynamic_cast<Button*>(control)) return button->ModalResult();
    if (auto* flat = dynamic_cast<FlatButton*>(control)) return flat->ModalResult();
    return mrNone;
}

bool IsUsable(HWND window) { return window && IsWindowEnabled(window) && IsWindowVisible(window); }

}  // namespace

Form::Form() = default;

Form::~Form() {
    if (App().MainForm() == this) App().SetMainForm(nullptr);
    HWND window = std::exchange(window_, nullptr);
    // Unbind first: the derived part is gone, so no message may reach the
    // object's virtual handlers while the controls and the window go.
    if (window) SetWindowLongPtrA(window, 0, 0);
    controls_.clear();
    if (window) DestroyWindow(window);
}

Form* Form::FromHandle(HWND window) {
    if (!window || !IsWindow(window)) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)) != &Form::WindowProc) return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrA(window, 0));
}

Form* Form::FromChild(HWND window) {
    if (!window) return nullptr;
    return FromHandle(GetAncestor(window, GA_ROOT));
}

void Form::RegisterWindowClass() const {
    const HINSTANCE instance = App().Instance() ? App().Instance() : GetModuleHandleA(nullptr);
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    if (GetClassInfoExA(instance, ClassName(), &info)) {
        if (info.lpfnWndProc != &Form::WindowProc)
            throw KestrinError::Format("ウィンドウクラス %s を登録できません。", ClassName());
        return;
    }
    info = {};
    info.cbSize = sizeof info;
    info.style = CS_DBLCLKS;
    info.lpfnWndProc = &Form::WindowProc;
    info.cbWndExtra = sizeof(Form*);
    info.hInstance = instance;
    info.hIcon = LoadIconA(instance, "MAINICON");
    info.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    info.lpszClassName = ClassName();
    if (!RegisterClassExA(&info)) throw KestrinError::Format("ウィンドウクラス %s を登録できません。", ClassName());
}

void Form::FillCreateParams(CreateParamsRecord& params) const {
    params.style = BorderStyleBits(borderStyle_, systemMenu_) | WS_CLIPSIBLINGS;
    params.exStyle = (borderStyle_ == bsDialog ? WS_EX_DLGMODALFRAME : 0) | (stayOnTop_ ? WS_EX_TOPMOST : 0);
    RECT rect{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&rect, params.style, FALSE, params.exStyle);
    params.width = rect.right - rect.left;
    params.height = rect.bottom - rect.top;
    if (position_ == poScreenCenter) {
        params.x = (GetSystemMetrics(SM_CXSCREEN) - params.width) / 2;
        params.y = (GetSystemMetrics(SM_CYSCREEN) - params.height) / 2;
    } else {
        params.x = left_;
        params.y = top_;
    }
    params.caption = caption_;
}

void Form::Create(HWND owner) {
    if (window_) return;
    RegisterWindowClass();
    CreateParamsRecord params;
    FillCreateParams(params);
    params.owner = owner ? owner : App().Handle();
    const CreateParamsRecord inherited = params;
    CreateParams(params);
    const bool geometryKept = params.x == inherited.x && params.y == inherited.y &&
                              params.width == inherited.width && params.height == inherited.height;
    if (geometryKept && (params.style != inherited.style || params.exStyle != inherited.exStyle)) {
        // Other borders, same client area: size (and centre) for the final style.
        RECT rect{0, 0, clientWidth_, clientHeight_};
        AdjustWindowRectEx(&rect, params.style, FALSE, params.exStyle);
        params.width = rect.right - rect.left;
        params.height = rect.bottom - rect.top;
        if (position_ == poScreenCenter) {
            params.x = (GetSystemMetrics(SM_CXSCREEN) - params.width) / 2;
            params.y = (GetSystemMetrics(SM_CYSCREEN) - params.height) / 2;
        }
    }
    const HINSTANCE instance = App().Instance() ? App().Instance() : GetModuleHandleA(nullptr);
    HWND window = CreateWindowExA(params.exStyle, ClassName(), params.caption.c_str(), params.style, params.x, params.y,
                                  params.width, params.height, params.owner, nullptr, instance, this);
    if (!window) throw KestrinError::Format("ウィンドウ %s を作成できません。", ClassName());
    caption_ = params.caption;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
    CreateControls();
    FormCreate();
}

void Form::CreateParams(CreateParamsRecord&) {}

void Form::Destroy() {
    if (window_) DestroyWindow(window_);
}

void Form::ApplyGeometry() {
    if (!window_) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE));
    RECT rect{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = left_;
    int y = top_;
    if (position_ == poScreenCenter) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (window_) SetWindowTextA(window_, caption_.c_str());
}

void Form::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    ApplyGeometry();
}

void Form::SetOrigin(int left, int top) {
    left_ = left;
    top_ = top;
    ApplyGeometry();
}

void Form::SetPosition(FormPosition position) {
    position_ = position;
    ApplyGeometry();
}

void Form::SetStayOnTop(bool stayOnTop) {
    stayOnTop_ = stayOnTop;
    if (window_)
        SetWindowPos(window_, stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::Show() {
    if (!window_) Create();
    const bool wasVisible = Visible();
    ShowWindow(window_, SW_SHOW);
    if (!wasVisible) FormShow();
}

void Form::Hide() {
    if (window_) ShowWindow(window_, SW_HIDE);
}

void Form::Update() {
    if (!window_) return;
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine keeps a window's painting in an off-screen surface and shows it
    // when the thread next looks at its queue (or paints again 50 ms later).
    // Callers that now sleep without handling messages would leave part of
    // the window unshown, so look once, for a message that never comes:
    // nothing is removed, and with PM_QS_POSTMESSAGE no sent message runs.
    MSG none;
    PeekMessageA(&none, reinterpret_cast<HWND>(-1), WM_APP + 0x3FFF, WM_APP + 0x3FFF,
                 PM_NOREMOVE | PM_QS_POSTMESSAGE);
}

bool Form::Visible() const { return window_ && IsWindowVisible(window_); }

void Form::Close() {
    if (!window_) return;
    if (inModal_) {
        // The modal loop asks FormCloseQuery and ends.
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) return;
    FormClose();
    Destroy();
}

int Form::ShowModal() {
    if (!window_) Create();
    if (inModal_) throw std::logic_error("ShowModal on a form that is already modal");
    HWND previousActive = GetActiveWindow();
    modalResult_ = mrNone;
    {
        ModalFlag modal(inModal_);
        TaskWindowsDisabled disabled(window_, GetWindow(window_, GW_OWNER));
        Show();
        for (;;) {
            if (!window_ || App().Terminated()) break;
            if (modalResult_ != mrNone) {
                bool canClose = true;
                FormCloseQuery(canClose);
                if (canClose) {
                    FormClose();
                    break;
                }
                modalResult_ = mrNone;
            }
            App().HandleMessage();
        }
        // The other windows are enabled again before this one hides, so that
        // the activation goes back to them and not to another program.
    }
    Hide();
    if (previousActive && previousActive != window_ && IsWindow(previousActive)) SetActiveWindow(previousActive);
    return modalResult_;
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrA(window, 0));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The last message of the window: the object outlives it.
        SetWindowLongPtrA(window, 0, 0);
        self->window_ = nullptr;
        self->savedFocus_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return GuardedCall([&] { return self->Dispatch(message, wParam, lParam); });
}

LRESULT Form::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_COMMAND:
            if (lParam) {
                HandleCommand(wParam, lParam);
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (Control::RouteNotify(lParam)) return 0;
            break;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_QUERYENDSESSION: {
            // The session may end: the form gets to save its state, and the
            // answer is always yes.
            bool canClose = true;
            FormCloseQuery(canClose);
            return TRUE;
        }
        case WM_DESTROY:
            if (App().MainForm() == this) App().Terminate();
            FormDestroy();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE)
                SaveFocus();
            else if (!HIWORD(wParam) && RestoreFocus())
                return 0;
            break;
        case WM_SETFONT:
            // Kept for WM_GETFONT, so that the form's font can be asked like a control's.
            font_ = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_HELP:
            if (helpContext_) {
                App().HelpCommand(HELP_CONTEXT, helpContext_);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void Form::HandleCommand(WPARAM wParam, LPARAM lParam) {
    Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam));
    if (control && HIWORD(wParam) == BN_CLICKED) {
        // The result first, so that the button's own handler may still change it.
        if (const int result = ButtonModalResult(control); result != mrNone) modalResult_ = result;
    }
    Control::RouteCommand(wParam, lParam);
}

void Form::SaveFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) savedFocus_ = focus;
}

bool Form::RestoreFocus() {
    HWND target = savedFocus_;
    if (!target || !IsWindow(target) || !IsChild(window_, target) || !IsUsable(target))
        target = GetNextDlgTabItem(window_, nullptr, FALSE);
    if (!target || !IsChild(window_, target) || !IsUsable(target)) return false;
    SetFocus(target);
    return true;
}

bool Form::PreTranslateMessage(MSG& message) {
    const bool onForm = message.hwnd == window_;
    if (message.message == WM_CHAR) {
        if (!keyPreview_ && !onForm) return false;
        char key = static_cast<char>(message.wParam);
        FormKeyPress(key);
        if (key == '\0') return true;
        message.wParam = static_cast<unsigned char>(key);
        return false;
    }
    WORD key = static_cast<WORD>(message.wParam);
    const ShiftState shift = KeyboardShift(message.message == WM_SYSKEYDOWN && (message.lParam & (1 << 29)) != 0);
    if (keyPreview_ || onForm) {
        FormKeyDown(key, shift);
        if (key == 0) return true;
        message.wParam = key;
    }
    if (key == VK_F1 && helpContext_) {
        App().HelpCommand(HELP_CONTEXT, helpContext_);
        return true;
    }
    if (message.message == WM_KEYDOWN && IsDialogKey(key) && !ControlWantsKey(message)) return DialogKey(key, shift);
    return false;
}

bool Form::ControlWantsKey(MSG& message) const {
    if (message.hwnd == window_) return false;
    const LRESULT code =
        SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return true;
    switch (message.wParam) {
        case VK_TAB:
            return (code & DLGC_WANTTAB) != 0;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return (code & DLGC_WANTARROWS) != 0;
        default:
            return false;
    }
}

bool Form::DialogKey(WORD key, ShiftState shift) {
    switch (key) {
        case VK_TAB:
            if (shift & (ssCtrl | ssAlt)) return false;
            SelectNext((shift & ssShift) == 0, true);
            return true;
        case VK_LEFT:
        case VK_UP:
            SelectNext(false, false);
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            SelectNext(true, false);
            return true;
        case VK_RETURN: {
            HWND focus = GetFocus();
            HWND target = nullptr;
            if (focus && IsChild(window_, focus) &&
                (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
                target = focus;
            if (!target) target = DefaultButton();
            if (!target) return false;
            ClickButton(target);
            return true;
        }
        case VK_ESCAPE: {
            HWND target = CancelButton();
            if (!target) return false;
            ClickButton(target);
            return true;
        }
        default:
            return false;
    }
}

void Form::SelectNext(bool forward, bool tabStopsOnly) {
    HWND focus = GetFocus();
    if (focus && !IsChild(window_, focus)) focus = nullptr;
    HWND next = tabStopsOnly ? GetNextDlgTabItem(window_, focus, forward ? FALSE : TRUE)
                             : GetNextDlgGroupItem(window_, focus, forward ? FALSE : TRUE);
    if (!next || next == focus || !IsChild(window_, next)) return;
    // As a dialog does: an edit that gets the focus by keyboard has its text selected.
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

void Form::ClickButton(HWND button) {
    if (!IsUsable(button)) return;
    // The notification a click sends, so that the form's routing (modal
    // result, onClick) runs exactly as for the mouse.
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

HWND Form::DefaultButton() const {
    for (const auto& control : controls_) {
        bool isDefault = false;
        if (auto* button = dynamic_cast<Button*>(control.get())) isDefault = button->IsDefault();
        if (auto* flat = dynamic_cast<FlatButton*>(control.get())) isDefault = flat->IsDefault();
        if (isDefault && IsUsable(control->Handle())) return control->Handle();
    }
    return nullptr;
}

HWND Form::CancelButton() const {
    for (const auto& control : controls_) {
        bool isCancel = false;
        if (auto* button = dynamic_cast<Button*>(control.get())) isCancel = button->IsCancel();
        if (auto* flat = dynamic_cast<FlatButton*>(control.get())) isCancel = flat->IsCancel();
        if (isCancel && IsUsable(control->Handle())) return control->Handle();
    }
    return nullptr;
}

void Form::MouseDownDispatched(const MSG& message) {
    MouseButton button = mbLeft;
    if (message.message == WM_RBUTTONDOWN) button = mbRight;
    if (message.message == WM_MBUTTONDOWN) button = mbMiddle;
    ShiftState shift = 0;
    if (message.wParam & MK_SHIFT) shift |= ssShift;
    if (message.wParam & MK_CONTROL) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    if (message.wParam & MK_LBUTTON) shift |= ssLeft;
    if (message.wParam & MK_RBUTTON) shift |= ssRight;
    if (message.wParam & MK_MBUTTON) shift |= ssMiddle;
    FormMouseDown(message.hwnd, button, shift, GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam));
}

void ReleaseForm(std::unique_ptr<Form> form) { App().ReleaseLater(std::move(form)); }

}  // namespace kestrin
