#pragma once
// A form shown modally: the other windows of the thread disabled, a nested
// message loop until the form has a modal result that its close query lets
// through, its window is gone, or the application ends.
namespace kestrin {

class Form;

class ModalLoop {
public:
    // Shows `form` and runs the loop; gives back the result (mrNone when the
    // window went or the application ended). The form is hidden afterwards
    // and the window that was active before is active again.
    static int Run(Form& form);
};

}  // namespace kestrin
