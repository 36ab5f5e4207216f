#include "support/modal_timeout.h"

namespace kestrin::test {

namespace {
ModalTimeout* active = nullptr;
}

ModalTimeout::ModalTimeout(Form& form, UINT timeoutMs) : form_(form) {
    active = this;
    // A thread timer: it needs no window of the form and no handler of the test.
    timer_ = SetTimer(nullptr, 0, timeoutMs, &ModalTimeout::OnTimer);
}

ModalTimeout::~ModalTimeout() {
    if (timer_) KillTimer(nullptr, timer_);
    if (active == this) active = nullptr;
}

void CALLBACK ModalTimeout::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (!active || active->timer_ != id) return;
    KillTimer(nullptr, id);
    active->timer_ = 0;
    active->fired_ = true;
    if (active->form_.InModalLoop()) active->form_.SetModalResult(IDABORT);
}

}  // namespace kestrin::test
