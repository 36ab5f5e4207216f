// The real Kestrin.exe on a denser screen than 96 dpi (KESTRIN_DPI=144, a lane
// of scripts/test.sh): each window at its 96-dpi size times dpi / 96, text in
// a font of that size rather than stretched, the tray's own size of picture.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/label.h"
#include "support/input.h"
#include "support/kestrin_env.h"
#include "support/screenshot.h"
#include "support/test_icons.h"
#include "support/tray_support.h"
#include "support/windows_find.h"

using namespace kestrin::test;

namespace {

// Checks a window's client size against its 96-dpi one, scaled; prints the sizes.
void ExpectClientSize(HWND window, const char* name, SIZE designed, int dpi) {
    const WindowInfo info = DescribeWindow(window);
    const SIZE client{info.clientRect.right - info.clientRect.left, info.clientRect.bottom - info.clientRect.top};
    EXPECT_TRUE(client.cx == MulDiv(designed.cx, dpi, 96) && client.cy == MulDiv(designed.cy, dpi, 96)) << name;
    std::printf("%s at %d dpi: client %ld x %ld, window %ld x %ld\n", name, dpi, client.cx, client.cy,
                info.windowRect.right - info.windowRect.left, info.windowRect.bottom - info.windowRect.top);
}

// Text as the program's font at that height draws it: what the screen shows, unless stretched.
std::vector<uint32_t> DrawnText(const char* text, SIZE size, int height) {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    uint32_t* bits = nullptr;
    const kestrin::BitmapHandle bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
    const kestrin::FontHandle font(CreateFontA(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                                               VARIABLE_PITCH | FF_SWISS, "ＭＳ Ｐゴシック"));
    const kestrin::UniqueHandle<kestrin::NullHandleTraits<HDC, DeleteDC>> dc(CreateCompatibleDC(nullptr));
    const kestrin::SelectGuard selected(dc.get(), bitmap.get());
    const RECT rect{0, 0, size.cx, size.cy};
    FillRect(dc.get(), &rect, GetSysColorBrush(COLOR_BTNFACE));
    kestrin::DrawLabelText(dc.get(), rect, text, font.get(), GetSysColor(COLOR_WINDOWTEXT), DT_NOPREFIX | DT_LEFT);
    GdiFlush();
    std::vector<uint32_t> drawn(bits, bits + size.cx * size.cy);
    return drawn;
}

}  // namespace

TEST(DpiE2E, EveryWindowIsLaidOutAndDrawnForTheScreensDensity) {
    const int dpi = GetDeviceCaps(kestrin::WindowDC(nullptr).get(), LOGPIXELSY);
    if (dpi == 96) GTEST_SKIP() << "a screen of 96 dpi, which the other tests cover (this one: KESTRIN_DPI=144)";
    auto at = [dpi](int value) { return MulDiv(value, dpi, 96); };
    WriteIni({"Timer=90", "MsgBox=1", "ManOnce=1", "UseHK=1", "HKShifts=6", "HKChar=118"});  // as docs/ shows it
    KestrinProcess k;
    ExpectClientSize(WaitForShownWindow("TSS", nullptr, 20000, k.ProcessId()), "splash", {239, 59}, dpi);
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    HWND controller = WaitForController(k), callback = CallbackWindow(controller);
    // The tray shows MAINICON's picture drawn for the small icon's size, not a larger one shrunk: its pixels where
    // it is opaque (Wine's tray loses the last rows of the mask of a 20 or 24-pixel icon, and shows them black).
    const int small = GetSystemMetrics(SM_CXSMICON);
    const POINT centre = LocateTrayIcon(callback, 1);  // by a marker picture; its own is sent again
    ASSERT_GE(centre.x, 0) << "the icon is nowhere on the taskbar";
    PostMessageA(controller, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    const kestrin::ModuleHandle program(LoadLibraryExA(KestrinExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    kestrin::IconHandle art(static_cast<HICON>(LoadImageA(program.get(), "MAINICON", IMAGE_ICON, small, small, 0)));
    const auto onBlack = RenderIcon(art.get(), small, 0), onWhite = RenderIcon(art.get(), small, 0xFFFFFF);
    const LONG left = centre.x - (small - 1) / 2, top = centre.y - (small - 1) / 2;
    EXPECT_TRUE(WaitFor([&] {
        const Capture shot = CaptureScreen({left, top, left + small, top + small});
        for (size_t i = 0; i < onBlack.size(); ++i)
            if (onBlack[i] == onWhite[i] && shot.pixels[i] != onBlack[i]) return false;
        return true;
    })) << "the tray does not show MAINICON's " << small << "-pixel picture";
    ClickAt(centre.x, centre.y);  // a pass, and its notice
    ExpectClientSize(WaitForShownWindow("TNoticeForm", nullptr, 10000, k.ProcessId()), "notice", {234, 65}, dpi);
    const SIZE designed[] = {{373, 254}, {301, 173}, {284, 200}};  // settings, shortcuts, About
    const kestrin::Bounds fields[] = {{160, 40, 28, 18}, {160, 72, 26, 18}, {53, 107, 267, 17}, {160, 172, 121, 18}};
    for (size_t i = 0; i < 3; ++i) {
        const MenuDialog& opened = TrayMenuDialogs()[i];
        HWND dialog = OpenFromTrayMenu(k.ProcessId(), callback, opened);
        ExpectClientSize(dialog, opened.className, designed[i], dpi);
        if (i == 0) {  // the settings dialog's fields at their places times the scale
            for (const kestrin::Bounds& f : fields) {
                RECT r = DescribeWindow(ChildWindowFromPoint(dialog, POINT{at(f.x) + 2, at(f.y) + 2})).windowRect;
                MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
                const RECT scaled{at(f.x), at(f.y), at(f.x) + at(f.width), at(f.y) + at(f.height)};
                EXPECT_TRUE(EqualRect(&r, &scaled)) << "the field at " << f.x << "," << f.y << " (96 dpi)";
            }
            const char* text = "メモリ圧縮設定時間";  // Label2, in the font at 12 pixels scaled
            const RECT label = DescribeWindow(FindWindowExA(dialog, nullptr, "KestrinLabel", text)).windowRect;
            const auto drawn = DrawnText(text, {label.right - label.left, label.bottom - label.top}, at(12));
            EXPECT_TRUE(WaitFor([&] { return CaptureScreen(label).pixels == drawn; }))
                << "the label's text is not the font's at " << at(12) << " pixels";
            Capture shot;  // once painted to the end: the buttons' green tick and red cross are there
            const RECT whole = DescribeWindow(dialog).windowRect;
            auto shows = [&](uint32_t colour) { return std::ranges::count(shot.pixels, colour) > 0; };
            EXPECT_TRUE(WaitFor([&] { return (shot = CaptureScreen(whole), shows(0x8000u) && shows(0x800000u)); }));
            SaveArtifact(shot, "settings_dialog_" + std::to_string(dpi) + "dpi");
        }
        ASSERT_TRUE(CloseWithCloseBox(k.ProcessId(), dialog, opened));
    }
    PostMessageA(controller, WM_CLOSE, 0, 0);
    EXPECT_TRUE(k.WaitForExit(15000));
    RemoveIni();
}
