#pragma once
// Ends a modal loop that has not ended by itself in time (with IDABORT), so
// that a broken loop fails its test instead of hanging the run. One at a time.
#include <windows.h>

#include "framework/form.h"

namespace kestrin::test {

class ModalTimeout {
public:
    explicit ModalTimeout(Form& form, UINT timeoutMs = 10000);
    ~ModalTimeout();
    ModalTimeout(const ModalTimeout&) = delete;
    ModalTimeout& operator=(const ModalTimeout&) = delete;

    bool Fired() const { return fired_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    Form& form_;
    UINT_PTR timer_ = 0;
    bool fired_ = false;
};

}  // namespace kestrin::test
