#pragma once
// A form for tests: records its events in order, lets a test handle its
// messages and keys, and reports its own deletion.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/form.h"

namespace kestrin::test {

// Private messages that tests post to their forms.
constexpr UINT kProbeMessage = WM_APP + 0x40;
constexpr UINT kProbeMessage2 = WM_APP + 0x41;

class ProbeForm : public Form {
public:
    explicit ProbeForm(const char* className = "TKestrinProbe") : className_(className) {}
    ~ProbeForm() override {
        if (deleted) *deleted = true;
    }

    const char* ClassName() const override { return className_; }

    std::vector<std::string> events;
    bool allowClose = true;
    bool* deleted = nullptr;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> OnMessage;
    std::function<void(WORD&, ShiftState)> onKeyDown;
    std::function<void(char&)> onKeyPress;
    std::function<void(HWND, MouseButton, int, int)> onMouseDown;
    std::function<void(CreateParamsRecord&)> onCreateParams;
    std::function<void(ProbeForm&)> onCreateControls;

    using Form::DefaultButton;

protected:
    void CreateParams(CreateParamsRecord& params) override {
        Form::CreateParams(params);
        if (onCreateParams) onCreateParams(params);
    }
    void CreateControls() override {
        if (onCreateControls) onCreateControls(*this);
    }
    void FormCreate() override { events.push_back("FormCreate"); }
    void FormShow() override { events.push_back("FormShow"); }
    void FormCloseQuery(bool& canClose) override {
        events.push_back("FormCloseQuery");
        canClose = allowClose;
    }
    void FormClose() override { events.push_back("FormClose"); }
    void FormDestroy() override { events.push_back("FormDestroy"); }
    void FormKeyDown(WORD& key, ShiftState shift) override {
        if (onKeyDown) onKeyDown(key, shift);
    }
    void FormKeyPress(char& key) override {
        if (onKeyPress) onKeyPress(key);
    }
    void FormMouseDown(HWND target, MouseButton button, ShiftState, int x, int y) override {
        if (onMouseDown) onMouseDown(target, button, x, y);
    }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return OnMessage && OnMessage(message, wParam, lParam, result);
    }

private:
    const char* className_;
};

}  // namespace kestrin::test
