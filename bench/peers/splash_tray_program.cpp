// The peer of the resident Kestrin's start as the user sees it: the same
// visible work, done the way a minimal program would do it. One hidden
// top-level window (then the line "Kestrin: first window", as Kestrin
// writes); the start-up splash, a topmost popup with a dialog frame, 239 x 59
// client pixels centred on the screen, the program's icon in a one-pixel
// sunken frame beside one line of text, painted in one WM_PAINT; the icon in
// the tray (then "Kestrin: tray icon added"); the splash's 1.5 s; the
// splash gone and a message loop. Closing the hidden window takes the icon
// away and ends it.
#include <windows.h>

#include <memory>
#include <type_traits>

#include "hidden_window.h"
#include "tray_peer.h"

using namespace kestrin::peers;

namespace {

constexpr char kSplashClassName[] = "KestrinSplashPeer";
constexpr DWORD kSplashMs = 1500;

// Kestrin's splash (src/app/splash.cpp, src/app/banner.h) and the class style
// of its forms (src/framework/form.cpp: CS_DBLCLKS with CS_OWNDC).
constexpr UINT kSplashClassStyle = CS_DBLCLKS | CS_OWNDC;
constexpr DWORD kSplashStyle = WS_POPUP | WS_DLGFRAME;
constexpr DWORD kSplashExStyle = WS_EX_TOPMOST;
constexpr int kClientWidth = 239;
constexpr int kClientHeight = 59;
constexpr RECT kIconFrame{18, 13, 18 + 34, 13 + 34};
constexpr int kIconSize = 32;
constexpr RECT kTextBox{64, 24, 64 + 152, 24 + 12};
constexpr char kText[] = "Kestrin 起動中です。。。";
// Kestrin's form font (src/win32/ui_font.cpp).
constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
constexpr int kFontHeight = -12;

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// What the splash paints with, made before it and let go after it.
struct SplashArt {
    HFONT font = nullptr;
    HICON icon = nullptr;
};
SplashArt splashArt;

void PaintSplash(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    // Lowered: the shadow on the top and left edges, the highlight on the
    // bottom and right ones.
    const RECT& f = kIconFrame;
    const struct {
        RECT strip;
        int color;
    } edges[] = {
        {{f.left, f.top, f.right - 1, f.top + 1}, COLOR_BTNSHADOW},
        {{f.left, f.top, f.left + 1, f.bottom - 1}, COLOR_BTNSHADOW},
        {{f.right - 1, f.top, f.right, f.bottom}, COLOR_BTNHIGHLIGHT},
        {{f.left, f.bottom - 1, f.right, f.bottom}, COLOR_BTNHIGHLIGHT},
    };
    for (const auto& edge : edges) FillRect(dc, &edge.strip, GetSysColorBrush(edge.color));
    const int iconX = f.left + (f.right - f.left - kIconSize) / 2;
    const int iconY = f.top + (f.bottom - f.top - kIconSize) / 2;
    DrawIconEx(dc, iconX, iconY, splashArt.icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);

    const HGDIOBJ oldFont = SelectObject(dc, splashArt.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text = kTextBox;
    DrawTextA(dc, kText, -1, &text, DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintSplash(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

Window ShowSplash(HINSTANCE instance, HWND owner) {
    WNDCLASSA splashClass{};
    splashClass.style = kSplashClassStyle;
    splashClass.lpfnWndProc = SplashProc;
    splashClass.hInstance = instance;
    splashClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    splashClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    splashClass.lpszClassName = kSplashClassName;
    if (!RegisterClassA(&splashClass)) return nullptr;

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kSplashStyle, FALSE, kSplashExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    Window splash(CreateWindowExA(kSplashExStyle, kSplashClassName, "", kSplashStyle,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner, nullptr,
                                  instance, nullptr));
    if (!splash) return nullptr;
    ShowWindow(splash.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(splash.get());
    return splash;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HWND window = CreateHiddenWindow(instance, "KestrinSplashTrayPeer", TrayWindowProc);
    if (!window) return 1;
    OutputDebugStringA("Kestrin: first window\n");

    const Font font(CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                                kFontFace));
    // Shared icons (LR_SHARED): the system owns them, nothing to free.
    splashArt = {font.get(), static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, kIconSize, kIconSize,
                                                           LR_SHARED))};
    Window splash = ShowSplash(instance, window);
    if (!splash) return 1;

    const HICON trayIcon = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                                         GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!AddTrayIcon(window, trayIcon)) return 1;
    Sleep(kSplashMs);
    splash.reset();
    RunMessageLoop();
    return 0;
}
