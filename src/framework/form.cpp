#include "framework/form.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/dialog_button.h"
#include "win32/portable/error.h"
#include "win32/ui_font.h"
#include "framework/window_class.h"

namespace kestrin {

namespace {

DWORD BorderStyleBits(FormBorderStyle border, bool systemMenu) {
    switch (border) {
        case bsNone:
            return WS_POPUP;
        case bsDialog:
            return WS_POPUP | WS_CAPTION | (systemMenu ? WS_SYSMENU : 0);
        case bsSizeable:
        default:
            return WS_CAPTION | WS_THICKFRAME | (systemMenu ? WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX : 0);
    }
}

int ButtonModalResult(Control* control) {
    const DialogButton* button = control ? control->AsDialogButton() : nullptr;
    return button ? button->ModalResult() : mrNone;
}

}  // namespace

Form::Form() : TopLevelWindow(&DispatchTo<Form>) {}

Form::~Form() {
    if (App().MainForm() == this) App().SetMainForm(nullptr);
    // Unbind first: the derived part is gone, so no message may reach the
    // object's virtual handlers while the controls and the window go.
    Unbind();
    // Graphic controls first: they are drawn on the form and its panels.
    graphicControls_.clear();
    controls_.clear();
}

Form::Placement Form::CentringScreen() const {
    if (position_ != poScreenCenter) return {};
    // The primary monitor (at 0, 0) always answers, with its rectangle and
    // its work area together.
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    return {primary.rcMonitor, primary.rcWork};
}

Bounds Form::WindowBoundsFor(DWORD style, DWORD exStyle, const Placement& screen) const {
    RECT rect{0, 0, Scaled(clientWidth_), Scaled(clientHeight_)};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    Bounds bounds{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    if (position_ == poScreenCenter) {
        bounds.x = screen.screen.left + (screen.screen.right - screen.screen.left - bounds.width) / 2;
        bounds.y = screen.screen.top + (screen.screen.bottom - screen.screen.top - bounds.height) / 2;
        // Onto the work area where it reaches over an edge; one too large
        // for it keeps its title bar and top-left corner there.
        const RECT& work = screen.work;
        bounds.x = std::max<int>(work.left, std::min<int>(bounds.x, work.right - bounds.width));
        bounds.y = std::max<int>(work.top, std::min<int>(bounds.y, work.bottom - bounds.height));
    }
    return bounds;
}

void Form::FillCreateParams(CreateParamsRecord& params, const Placement& screen) const {
    params.style = BorderStyleBits(borderStyle_, systemMenu_) | WS_CLIPSIBLINGS;
    params.exStyle = (borderStyle_ == bsDialog ? WS_EX_DLGMODALFRAME : 0) | (stayOnTop_ ? WS_EX_TOPMOST : 0);
    const Bounds bounds = WindowBoundsFor(params.style, params.exStyle, screen);
    params.x = bounds.x;
    params.y = bounds.y;
    params.width = bounds.width;
    params.height = bounds.height;
    params.caption = caption_;
}

void Form::Create(HWND owner) {
    if (Handle()) return;
    savedFocus_ = nullptr;  // of a window before this one
    // Only a window with a title bar shows the small icon: the others' classes
    // take the large one in its place (a class without one would be given a
    // copy), and the small icon is loaded with the first dialog.
    const bool titled = borderStyle_ != bsNone && classStyle_ != kNeverPaintedClassStyle;
    EnsureWindowClass(WindowClassDescription{
        .name = ClassName(),
        .procedure = &WindowBinding::Procedure,
        .style = CS_DBLCLKS | classStyle_,
        .icon = ProgramIcon(),
        .smallIcon = titled ? ProgramSmallIcon() : ProgramIcon(),
        .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
    });
    const Placement screen = CentringScreen();
    CreateParamsRecord params;
    FillCreateParams(params, screen);
    params.owner = owner ? owner : App().Handle();
    const CreateParamsRecord inherited = params;
    CreateParams(params);
    const bool geometryKept = params.x == inherited.x && params.y == inherited.y &&
                              params.width == inherited.width && params.height == inherited.height;
    if (geometryKept && (params.style != inherited.style || params.exStyle != inherited.exStyle)) {
        // Other borders, same client area: size (and centre) for the final style.
        const Bounds bounds = WindowBoundsFor(params.style, params.exStyle, screen);
        params.width = bounds.width;
        params.height = bounds.height;
        if (position_ == poScreenCenter) {
            params.x = bounds.x;
            params.y = bounds.y;
        }
    }
    HWND window = CreateWindowExA(params.exStyle, ClassName(), params.caption.c_str(), params.style, params.x, params.y,
                                  params.width, params.height, params.owner, nullptr, ProgramInstance(),
                                  static_cast<WindowBinding*>(this));
    if (!window) throw KestrinError::Format("ウィンドウ %s を作成できません。", ClassName(), GetLastError());
    caption_ = params.caption;
    {
        // The form description: the components take their stored values,
        // then all of them are loaded at once.
        LoadingScope description;
        CreateControls();
        description.Finish();
    }
    FormCreate();
}

void Form::CreateParams(CreateParamsRecord&) {}

void Form::Destroy() { DestroyBound(); }

void Form::ApplyGeometry() {
    if (!Handle()) return;
    const Bounds bounds = WindowBoundsFor(static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)),
                                          static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)),
                                          CentringScreen());
    SetWindowPos(Handle(), nullptr, bounds.x, bounds.y, bounds.width, bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (Handle()) SetWindowTextA(Handle(), caption_.c_str());
}

void Form::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    ApplyGeometry();
}

void Form::SetPosition(FormPosition position) {
    position_ = position;
    ApplyGeometry();
}

void Form::SetStayOnTop(bool stayOnTop) {
    stayOnTop_ = stayOnTop;
    if (Handle())
        SetWindowPos(Handle(), stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::Show() {
    if (!Handle()) Create();
    const bool wasVisible = Visible();
    ShowWindow(Handle(), ActivatesWhenShown() ? SW_SHOW : SW_SHOWNA);
    if (!wasVisible) FormShow();
}

void Form::Hide() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

void Form::Update() {
    if (!Handle()) return;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine keeps a window's painting in an off-screen surface and shows it
    // when the thread next looks at its queue (or paints again 50 ms later).
    // Callers that now sleep without handling messages would leave part of
    // the window unshown, so look once, for a message that never comes:
    // nothing is removed, and with PM_QS_POSTMESSAGE no sent message runs.
    MSG none;
    PeekMessageA(&none, reinterpret_cast<HWND>(-1), WM_APP + 0x3FFF, WM_APP + 0x3FFF,
                 PM_NOREMOVE | PM_QS_POSTMESSAGE);
}

bool Form::Visible() const { return Handle() && IsWindowVisible(Handle()); }

void Form::Close() {
    if (!Handle()) return;
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

void Form::Keep(Control* control) {
    std::unique_ptr<Control> owned(control);
    controls_.push_back(std::move(owned));
}

void Form::Keep(GraphicControl* control) {
    std::unique_ptr<GraphicControl> owned(control);
    graphicControls_.push_back(std::move(owned));
}

LRESULT Form::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    GraphicHost* host = Graphics();
    if (host && host->HandleMessage(message, wParam, lParam, result)) return result;
    if (message == WM_PAINT) {
        // The class brush has erased the background: the form's own face
        // and its graphic controls are all there is to draw.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        Paint(dc);
        if (host) host->Paint(dc);
        EndPaint(Handle(), &paint);
        return 0;
    }
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
        case WM_NEXTDLGCTL:
            // From a multi-line edit in dialog mode (its Tab), or anyone
            // moving the focus the way a dialog is asked to.
            if (LOWORD(lParam))
                SetFocus(reinterpret_cast<HWND>(wParam));
            else
                SelectNext(wParam == 0, true);
            return 0;
        case DM_GETDEFID:
            if (HWND button = DefaultButton()) return MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
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
            if (LOWORD(wParam) == WA_INACTIVE) {
                SaveFocus();
            } else if (!HIWORD(wParam) && RestoreFocus()) {
                return 0;
            }
            break;
        case WM_SETFONT:
            // Kept for WM_GETFONT, so that the form's font can be asked like a control's.
            font_ = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            // The UI font unless another was set, made when first asked for:
            // a form that shows no text never makes it.
            return reinterpret_cast<LRESULT>(font_ ? font_ : UiFont());
        default:
            break;
    }
    return DefWindowProcA(Handle(), message, wParam, lParam);
}

void Form::HandleCommand(WPARAM wParam, LPARAM lParam) {
    Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam));
    if (control && HIWORD(wParam) == BN_CLICKED) {
        // The result first, so that the button's own handler may still change it.
        if (const int result = ButtonModalResult(control); result != mrNone) modalResult_ = result;
    }
    Control::RouteCommand(wParam, lParam);
}

void Form::SetTabOrder(std::initializer_list<Control*> order) {
    // Tab follows the order of the windows among their siblings: the last
    // named goes to the top first, so the first named ends up on top.
    for (auto it = std::rbegin(order); it != std::rend(order); ++it) {
        if (*it && (*it)->Handle())
            SetWindowPos((*it)->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Form::MouseDownDispatched(const MSG& message) {
    FormMouseDown(message.hwnd, PressedButton(message.message), MouseShiftState(message.message, message.wParam),
                  GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam));
}

void ReleaseForm(std::unique_ptr<Form> form) { App().ReleaseLater(std::move(form)); }

}  // namespace kestrin
