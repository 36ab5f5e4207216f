#pragma once
// Base class of every window of the program that is not a control: the
// controller, the notice and splash windows and the dialogs. A form's window
// class is registered under the form's own class name; the window is bound
// to the object from WM_NCCREATE to WM_NCDESTROY (WindowBinding). A form
// owns its controls, routes their notifications back to them, and gives them
// the keyboard handling of a dialog (Tab, arrows, Enter = default button;
// dialog_keys.cpp); shown modally, it runs the modal loop (modal_loop.cpp).
//
// A form is laid out as its description gives it, in pixels of a 96-dpi
// screen: the client size and the bounds handed to Add and AddTo are scaled
// to the screen (Scaled) as the form takes them. Everything asked of a made
// window or control afterwards (GetBounds, SetBounds) is in screen pixels.
//
// Life cycle: construct, Create() (window, CreateControls, FormCreate), use,
// then either Close()/Destroy() (FormDestroy runs) or ReleaseForm() (the same,
// later, and the object is deleted). Deleting a form whose window still exists
// destroys the window without FormDestroy (the derived part is already gone).
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/control.h"
#include "framework/graphic_control.h"
#include "win32/portable/shift_state.h"
#include "framework/top_level_window.h"

namespace kestrin {

// The results of a modal form; the values of the system's IDOK, IDCANCEL...
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
};

enum FormPosition : uint8_t { poDesigned, poScreenCenter };
enum FormBorderStyle : uint8_t { bsNone, bsSizeable, bsDialog };

// What CreateWindowEx gets; a form may change any of it in CreateParams.
struct CreateParamsRecord {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string caption;
    HWND owner = nullptr;
};

class Form : public TopLevelWindow {
public:
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The window class of the form ("TMemCMain", "TNoticeForm", ...).
    virtual const char* ClassName() const = 0;

    // Creates the window, owned by `owner` (the application window when
    // null), then runs CreateControls and FormCreate. Does nothing when the
    // window exists.
    void Create(HWND owner = nullptr);
    // Destroys the window (FormDestroy runs); the object stays.
    void Destroy() override;

    // Design properties; they may be set before or after Create.
    void SetCaption(std::string caption);
    // At 96 dpi (see the top of this file).
    void SetClientSize(int width, int height);
    // poDesigned puts the window at the top-left corner of the screen;
    // poScreenCenter centres it on the screen, moved onto the work area
    // where it would reach over its edge (a dialog scaled for a dense screen
    // of few pixels, such as 1024 x 768 at 200 %).
    void SetPosition(FormPosition position);
    void SetBorderStyle(FormBorderStyle style) noexcept { borderStyle_ = style; }
    // The system menu and with it the close box of the title bar.
    void SetSystemMenu(bool enabled) noexcept { systemMenu_ = enabled; }
    // For a form whose window is never shown: it paints nothing, so its
    // class has no device context of its own (window_class.h).
    void SetNeverPainted() noexcept { classStyle_ = kNeverPaintedClassStyle; }
    void SetStayOnTop(bool stayOnTop);
    // Non-zero: F1 asks the application's help handler for HELP_CONTEXT (1)
    // with this number.
    void SetHelpContext(uint32_t context) noexcept { helpContext_ = context; }

    void Show() override;
    void Hide();
    // Paints the form and its controls now, without waiting for the loop.
    void Update();
    bool Visible() const;

    // Asks FormCloseQuery; if the form may close, FormClose runs and the
    // window is destroyed (a modal form instead ends its modal loop with
    // mrCancel unless it has a result). Closing the main form ends the
    // application's loop.
    void Close() override;

    // Shows the form and runs a nested loop, the other windows of the thread
    // disabled, until it gets a modal result (a button with one, SetModalResult,
    // Close) that FormCloseQuery lets through, its window is destroyed, or the
    // application terminates (result mrNone). The form is hidden afterwards.
    // (modal_loop.cpp)
    int ShowModal();
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    int ModalResult() const noexcept { return modalResult_; }
    bool InModalLoop() const noexcept override { return inModal_; }

    // Creates a control (or a graphic control) with this form's window as
    // its parent; the form owns it. Bounds among the arguments are the
    // description's, at 96 dpi, and reach the control scaled.
    template <typename T, typename... Args>
    T& Add(Args&&... args) {
        return AddTo<T>(Handle(), std::forward<Args>(args)...);
    }
    // The same with another parent window (a panel of this form).
    template <typename T, typename... Args>
    T& AddTo(HWND parent, Args&&... args) {
        T* control = new T(parent, FromDescription(std::forward<Args>(args))...);
        Keep(control);
        return *control;
    }

    // The order in which Tab visits the controls (all of one parent window),
    // whatever the order they were made in; controls not named follow them.
    void SetTabOrder(std::initializer_list<Control*> order);

    // Hooks of the application's message loops (not for other callers): a key
    // message for this form before dispatch (true = consumed), and a mouse
    // press after it.
    bool PreTranslateMessage(MSG& message) override;
    bool PressDefaultButton() override;
    void MouseDownDispatched(const MSG& message) override;

protected:
    // Fills in the window's creation parameters; the base has filled them
    // from the design properties before.
    virtual void CreateParams(CreateParamsRecord& params);
    // Whether Show makes the form the active window (a form that takes no
    // input is shown without taking the focus from the user's window).
    virtual bool ActivatesWhenShown() const { return true; }
    // Draws the form's own face into `dc` after the class brush has erased
    // the background and before its graphic controls are drawn.
    virtual void Paint(HDC /*dc*/) {}
    // Builds the form's controls (its form description); runs after the
    // window exists and before FormCreate.
    virtual void CreateControls() {}
    virtual void FormCreate() {}
    // The form has just become visible.
    virtual void FormShow() {}
    virtual void FormCloseQuery(bool& /*canClose*/) {}
    virtual void FormClose() {}
    // The window is being destroyed.
    virtual void FormDestroy() {}
    // Key pressed on the form's own window; set `key` to 0 to consume it.
    virtual void FormKeyDown(WORD& /*key*/, ShiftState /*shift*/) {}
    // Character typed; set `key` to '\0' to consume it.
    virtual void FormKeyPress(char& /*key*/) {}
    // Mouse button pressed on the form or one of its controls, after the
    // press has been handled (the pressed control has the focus by then);
    // x and y in the client coordinates of `target`.
    virtual void FormMouseDown(HWND /*target*/, MouseButton /*button*/, ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    // Tab, arrows, Enter and Esc that the focused control does not claim
    // (its WM_GETDLGCODE asks for neither the key nor, for Enter and Esc, all
    // keys); return true when handled, and the key goes no further. Runs
    // before FormKeyDown. The base moves the focus (Tab: next tab stop;
    // arrows: next control of the group) and clicks the focused push button
    // or the default button on Enter.
    virtual bool DialogKey(WORD key, ShiftState shift);
    // Any message of the form's window before the form's own handling;
    // return true when handled, with `result` for the sender.
    virtual bool HandleMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }

    // The usable default button among the form's controls, or nullptr.
    HWND DefaultButton() const;

private:
    friend class WindowBinding;
    // Where a form is placed: the screen's rectangle and its work area.
    struct Placement {
        RECT screen;
        RECT work;
    };
    template <typename A>
    static decltype(auto) FromDescription(A&& argument) {
        if constexpr (std::is_same_v<std::remove_cvref_t<A>, Bounds>)
            return Scaled(argument);
        else
            return std::forward<A>(argument);
    }
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // The primary screen's rectangle and work area for a centred form, else
    // empty: asked once per placing, in one call (as long as the two calls
    // for the screen's size were: Wine answers from its display cache, 0.1 ms
    // a call).
    Placement CentringScreen() const;
    void FillCreateParams(CreateParamsRecord& params, const Placement& screen) const;
    // Window position and size for the client size, the styles and the
    // position rule, on the screen of `screen` (CentringScreen).
    Bounds WindowBoundsFor(DWORD style, DWORD exStyle, const Placement& screen) const;
    void ApplyGeometry();
    void HandleCommand(WPARAM wParam, LPARAM lParam);
    // The dialog keys (dialog_keys.cpp).
    bool ControlWantsKey(const MSG& message) const;
    void SelectNext(bool forward, bool tabStopsOnly);
    void SaveFocus();
    bool RestoreFocus();
    // The form takes what Add made (one place for it, not one per Add); a
    // control it cannot keep is deleted.
    void Keep(Control* control);
    void Keep(GraphicControl* control);

    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<GraphicControl>> graphicControls_;
    std::string caption_;
    int clientWidth_ = 320;
    int clientHeight_ = 240;
    FormPosition position_ = poDesigned;
    FormBorderStyle borderStyle_ = bsSizeable;
    bool systemMenu_ = true;
    UINT classStyle_ = kOwnPaintedClassStyle;
    bool stayOnTop_ = false;
    uint32_t helpContext_ = 0;
    int modalResult_ = mrNone;
    bool inModal_ = false;
    HWND savedFocus_ = nullptr;
    HFONT font_ = nullptr;  // shared, not owned
};

// A form on the heap, created (owned by the application window).
template <typename T, typename... Args>
std::unique_ptr<T> MakeForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->Create();
    return form;
}

// Release: the form stays as it is until control is back in the message loop
// (see Application::ReleaseLater), then its window is destroyed and the
// object deleted. Taking the owner's pointer makes a later use impossible.
void ReleaseForm(std::unique_ptr<Form> form);

}  // namespace kestrin
