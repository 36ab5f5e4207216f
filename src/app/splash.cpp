#include "app/splash.h"

#include "framework/application.h"

namespace kestrin {

namespace {

const BannerLayout kSplashLayout{
    "SS", 239, 59, false, {18, 13, 34, 34}, {64, 24, 152, 12}, "Kestrin 起動中です。。。",
};

}  // namespace

TSS::TSS() : BannerForm(kSplashLayout) {}

void TSS::FormCreate() {
    // The splash is shown by its creator. Here the program gives up its
    // taskbar button for good: the application window is hidden and turned
    // into a tool window, which the taskbar never lists.
    HWND application = App().Handle();
    if (!application) return;
    ShowWindow(application, SW_HIDE);
    const LONG exStyle = GetWindowLongA(application, GWL_EXSTYLE);
    SetWindowLongA(application, GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
}

}  // namespace kestrin
