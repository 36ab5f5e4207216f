// The completion notice and the start-up splash as real windows: what the
// system reports about them (class, caption, styles, sizes), what they put
// on the screen (the same pixels as the framework's windowed panel, image
// and label would), and what the splash does to the application window.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/notice.h"
#include "app/splash.h"
#include "framework/control.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/label.h"
#include "framework/panel.h"
#include "support/app_fixture.h"
#include "support/screenshot.h"
#include "support/windows_find.h"

namespace kestrin {
namespace {

using test::AppTest;
using test::Capture;
using test::CaptureScreen;
using test::ClassOf;
using test::SaveArtifact;
using test::TextOf;
using test::WaitFor;

struct ExpectedBanner {
    const char* className;
    const char* caption;
    int clientWidth;
    int clientHeight;
    Bounds panel;
    Bounds label;
    const char* text;
};

const ExpectedBanner kNotice{"TNoticeForm", "NoticeForm", 234, 65, {24, 16, 34, 34}, {72, 27, 111, 12},
                             "メモリを圧縮しました。"};
const ExpectedBanner kSplash{"TSS", "SS", 239, 59, {18, 13, 34, 34}, {64, 24, 152, 12}, "Kestrin 起動中です。。。"};

// Window styles the system adds by itself: WS_VISIBLE once shown,
// WS_CLIPSIBLINGS for every top-level window, and WS_EX_WINDOWEDGE for every
// window with a dialog frame.
constexpr DWORD kStyleAddedBySystem = WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kExStyleAddedBySystem = WS_EX_WINDOWEDGE;

// The banner built from the framework's windowed panel, image and label, as
// it was before it painted itself: what it must still look like.
class WindowedBanner : public Form {
public:
    explicit WindowedBanner(const ExpectedBanner& layout) : layout_(layout) {
        SetBorderStyle(bsNone);
        SetSystemMenu(false);
        SetPosition(poScreenCenter);
        SetClientSize(layout.clientWidth, layout.clientHeight);
    }
    const char* ClassName() const override { return "KestrinWindowedBanner"; }

protected:
    void CreateParams(CreateParamsRecord& params) override {
        params.style = kBannerStyle;
        params.exStyle = kBannerExStyle;
    }
    bool ActivatesWhenShown() const override { return false; }
    void CreateControls() override {
        Panel& panel = Add<Panel>(layout_.panel, BevelCut::Lowered, BevelCut::None);
        Image& image = AddTo<Image>(panel.Handle());
        image.FillParent();
        image.LoadIcon(App().Instance(), "MAINICON", 32);
        Add<Label>(layout_.label, layout_.text);
    }

private:
    const ExpectedBanner& layout_;
};

uint32_t Rgb(COLORREF color) {
    return (static_cast<uint32_t>(GetRValue(color)) << 16) | (static_cast<uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}

uint32_t SysColour(int index) { return Rgb(GetSysColor(index)); }

// Everything the system can tell about the window.
void ExpectLayout(HWND window, const ExpectedBanner& expected) {
    SCOPED_TRACE(expected.className);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ClassOf(window), expected.className);
    EXPECT_EQ(TextOf(window), expected.caption);
    EXPECT_EQ(FindWindowA(expected.className, expected.caption), window);

    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_EQ(style & ~kStyleAddedBySystem, 0x80400000u) << std::hex << style;
    EXPECT_EQ(exStyle & ~kExStyleAddedBySystem, static_cast<DWORD>(WS_EX_TOPMOST)) << std::hex << exStyle;
    EXPECT_EQ(GetWindow(window, GW_OWNER), App().Handle());

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, expected.clientWidth);
    EXPECT_EQ(client.bottom, expected.clientHeight);

    RECT frame{};
    GetWindowRect(window, &frame);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(frame.left + frame.right, screenWidth, 2) << "horizontally centred";
    EXPECT_NEAR(frame.top + frame.bottom, screenHeight, 2) << "vertically centred";
    // A dialog frame and nothing else around the client area.
    EXPECT_EQ(frame.right - frame.left, expected.clientWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(frame.bottom - frame.top, expected.clientHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME));

    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr) << "one painted window";
}

std::string Hex(uint32_t colour) {
    char text[16];
    snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
}

// What is wrong with the window's pixels (client area at dx, dy of the
// shot); empty when it shows everything it must.
std::vector<std::string> PaintFaults(const Capture& shot, int dx, int dy, const ExpectedBanner& expected) {
    std::vector<std::string> faults;
    auto at = [&](int x, int y) { return shot.At(dx + x, dy + y); };
    auto expect = [&](int x, int y, uint32_t colour, const char* what) {
        if (at(x, y) != colour)
            faults.push_back(std::string(what) + " at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                             Hex(at(x, y)) + " instead of " + Hex(colour));
    };

    const uint32_t face = SysColour(COLOR_BTNFACE);
    // The form's own background, left of the panel and above the label.
    for (int x = 2; x < expected.panel.x - 2; ++x) expect(x, 4, face, "background");
    for (int x = expected.label.x; x < expected.label.x + expected.label.width; x += 10)
        expect(x, expected.label.y - 3, face, "background");

    // The sunken frame: shadow on the top and left edges, highlight on the
    // bottom and right ones.
    const Bounds& p = expected.panel;
    expect(p.x + 10, p.y, SysColour(COLOR_BTNSHADOW), "frame top");
    expect(p.x, p.y + 10, SysColour(COLOR_BTNSHADOW), "frame left");
    expect(p.x + 10, p.y + p.height - 1, SysColour(COLOR_BTNHIGHLIGHT), "frame bottom");
    expect(p.x + p.width - 1, p.y + 10, SysColour(COLOR_BTNHIGHLIGHT), "frame right");

    // The icon "MAINICON": a grey body with a black rim and a yellow arrow.
    const int ix = p.x + 1;
    const int iy = p.y + 1;
    expect(ix + 15, iy + 12, 0xFFFF00u, "arrow");
    expect(ix + 8, iy + 8, 0x808080u, "body");
    expect(ix + 6, iy + 12, 0x000000u, "rim");
    expect(ix + 1, iy + 1, face, "transparent corner");

    // Ink of the text across the label, in the window-text colour: one line
    // of text running across most of the label, not a stray mark.
    const Bounds& l = expected.label;
    const uint32_t ink = SysColour(COLOR_WINDOWTEXT);
    int inkPixels = 0;
    int inkColumns = 0;
    for (int x = l.x; x < l.x + l.width; ++x) {
        bool column = false;
        for (int y = l.y; y < l.y + l.height; ++y) {
            if (at(x, y) == ink) {
                ++inkPixels;
                column = true;
            }
        }
        inkColumns += column;
    }
    if (inkPixels <= 100) faults.push_back("text ink: " + std::to_string(inkPixels) + " pixels");
    if (inkColumns <= l.width / 2) faults.push_back("text ink: " + std::to_string(inkColumns) + " columns");
    return faults;
}

// What the window shows on the screen, kept as an artifact. The window has
// painted by now; the screen may show it a moment later, so the pixels are
// looked at until they are right (or the time is up), with no message
// handled meanwhile.
Capture ExpectPainted(HWND window, const ExpectedBanner& expected, const std::string& artifact) {
    SCOPED_TRACE(expected.className);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT frame{};
    GetWindowRect(window, &frame);
    Capture shot;
    std::vector<std::string> faults;
    WaitFor(
        [&] {
            shot = CaptureScreen(frame);
            faults = shot.width > 0 ? PaintFaults(shot, origin.x - frame.left, origin.y - frame.top, expected)
                                    : std::vector<std::string>{"no capture"};
            return faults.empty();
        },
        test::kGenerousMs, test::Pump::None);
    if (shot.width > 0) SaveArtifact(shot, artifact);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    return shot;
}

// The banner's window and frame, pixel for pixel, against the same layout
// built of windowed controls; the banner is hidden first (both are topmost
// and in the same place).
void ExpectSameAsWindowedControls(BannerForm& banner, const Capture& shot, const ExpectedBanner& expected) {
    ShowWindow(banner.Handle(), SW_HIDE);
    WindowedBanner reference(expected);
    reference.Create();
    reference.Show();
    reference.Update();
    const Capture windowed = ExpectPainted(reference.Handle(), expected, std::string(expected.className) + "-windowed");
    ASSERT_EQ(windowed.width, shot.width);
    ASSERT_EQ(windowed.height, shot.height);
    size_t differing = 0;
    for (size_t i = 0; i < shot.pixels.size(); ++i) differing += shot.pixels[i] != windowed.pixels[i];
    EXPECT_EQ(differing, 0u) << "pixels unlike the windowed controls' (see the two artifacts)";
    reference.Destroy();
}

class NoticeSplash : public AppTest {
protected:
    void TearDown() override {
        // The splash changes the application window for good; give the next
        // test the window it had.
        HWND application = App().Handle();
        SetWindowLongA(application, GWL_EXSTYLE, GetWindowLongA(application, GWL_EXSTYLE) & ~WS_EX_TOOLWINDOW);
        AppTest::TearDown();
    }

    static bool Gone(const char* className) { return FindWindowA(className, nullptr) == nullptr; }
};

TEST_F(NoticeSplash, NoticeHasItsLayoutAndIsOnTheScreenAsSoonAsItIsCreated) {
    auto notice = MakeForm<TNoticeForm>();
    // No message handled since: what is visible now was painted by its creation.
    HWND window = notice->Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(window, &pending, FALSE)) << "the form still waits for a paint";
    const Capture shot = ExpectPainted(window, kNotice, "notice");
    ExpectLayout(window, kNotice);
    ExpectSameAsWindowedControls(*notice, shot, kNotice);
}

TEST_F(NoticeSplash, NoticeIsGoneOnceItsReleaseIsCarriedOut) {
    auto notice = MakeForm<TNoticeForm>();
    HWND window = notice->Handle();
    ReleaseForm(std::move(notice));
    // Until the loop runs the notice stays where it is.
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(WaitFor([] { return Gone("TNoticeForm"); }));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(NoticeSplash, TwoNoticesLiveSideBySideAndGoEachOnItsOwn) {
    // A pass nested in a batch notice's wait creates a second notice.
    auto first = MakeForm<TNoticeForm>();
    auto second = MakeForm<TNoticeForm>();
    HWND firstWindow = first->Handle();
    HWND secondWindow = second->Handle();
    EXPECT_NE(firstWindow, secondWindow);
    ReleaseForm(std::move(second));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(secondWindow); }));
    EXPECT_TRUE(IsWindowVisible(firstWindow));
    ReleaseForm(std::move(first));
    EXPECT_TRUE(WaitFor([] { return Gone("TNoticeForm"); }));
}

TEST_F(NoticeSplash, SplashHasItsLayoutAndIsShownByItsCreator) {
    auto splash = MakeForm<TSS>();
    HWND window = splash->Handle();
    EXPECT_FALSE(IsWindowVisible(window)) << "its creation does not show it";
    ExpectLayout(window, kSplash);

    splash->Show();
    splash->Update();
    EXPECT_TRUE(IsWindowVisible(window));
    ExpectSameAsWindowedControls(*splash, ExpectPainted(window, kSplash, "splash"), kSplash);

    ReleaseForm(std::move(splash));
    EXPECT_TRUE(WaitFor([] { return Gone("TSS"); }));
}

TEST_F(NoticeSplash, SplashTakesTheApplicationWindowOffTheTaskbarForGood) {
    HWND application = App().Handle();
    ShowWindow(application, SW_SHOWNA);
    ASSERT_TRUE(IsWindowVisible(application));
    ASSERT_EQ(GetWindowLongA(application, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    const LONG exBefore = GetWindowLongA(application, GWL_EXSTYLE);

    auto splash = MakeForm<TSS>();
    EXPECT_FALSE(IsWindowVisible(application));
    EXPECT_EQ(GetWindowLongA(application, GWL_EXSTYLE), exBefore | WS_EX_TOOLWINDOW) << "nothing else changed";

    splash->Show();
    splash->Update();
    ReleaseForm(std::move(splash));
    ASSERT_TRUE(WaitFor([] { return Gone("TSS"); }));
    // Also after the splash has gone.
    EXPECT_FALSE(IsWindowVisible(application));
    EXPECT_NE(GetWindowLongA(application, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

TEST_F(NoticeSplash, NoticeLeavesTheApplicationWindowAlone) {
    HWND application = App().Handle();
    const LONG exBefore = GetWindowLongA(application, GWL_EXSTYLE);
    const bool visibleBefore = IsWindowVisible(application) != FALSE;
    auto notice = MakeForm<TNoticeForm>();
    EXPECT_EQ(GetWindowLongA(application, GWL_EXSTYLE), exBefore);
    EXPECT_EQ(IsWindowVisible(application) != FALSE, visibleBefore);
    ReleaseForm(std::move(notice));
    EXPECT_TRUE(WaitFor([] { return Gone("TNoticeForm"); }));
}

}  // namespace
}  // namespace kestrin
