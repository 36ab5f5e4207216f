// Controls that paint themselves: what reaches the screen is checked pixel
// by pixel, and kept as artifacts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/bevel.h"
#include "win32/handles.h"
#include "framework/image.h"
#include "framework/label.h"
#include "framework/panel.h"
#include "win32/ui_font.h"
#include "support/control_host.h"
#include "support/screenshot.h"
#include "support/test_icons.h"

namespace kestrin {
namespace {

using test::Capture;
using test::ControlHost;
using test::PixelOf;

uint32_t Sys(int index) { return PixelOf(GetSysColor(index)); }

Capture Shoot(ControlHost& host, const Control& control) {
    host.ShowAndPaint();
    return test::CaptureScreen(ControlHost::ScreenClientRect(control.Handle()));
}

bool IsDark(uint32_t p) { return ((p >> 16) & 0xFF) < 0x70 && ((p >> 8) & 0xFF) < 0x70 && (p & 0xFF) < 0x70; }

// Pixels unlike the button face: the ink of the text.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    size_t count = 0;
    std::vector<bool> mask;
    bool Empty() const { return count == 0; }
};

Ink InkOf(const Capture& shot) {
    Ink ink;
    const uint32_t face = Sys(COLOR_BTNFACE);
    ink.mask.resize(shot.pixels.size());
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            if (shot.At(x, y) == face) continue;
            ink.mask[static_cast<size_t>(y) * shot.width + x] = true;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

SIZE TextExtent(HWND window, HFONT font, const std::string& text) {
    WindowDC dc(window);
    SelectGuard select(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

TEST(Label, JapaneseTextRendersAsRealGlyphs) {
    ControlHost host(300, 80);
    // Same number of characters: if the font had no glyphs for them, both
    // would come out as the same row of boxes (or question marks).
    const std::string first = "メモリを圧縮しました。";
    const std::string second = "設定時間に圧縮する回数";
    Label a(host.Handle(), {8, 16, 200, 12}, first);
    Label b(host.Handle(), {8, 40, 200, 12}, second);
    const Capture shotA = Shoot(host, a);
    const Capture shotB = Shoot(host, b);
    test::SaveArtifact(shotA, "label_japanese_1");
    test::SaveArtifact(shotB, "label_japanese_2");
    ASSERT_EQ(shotA.width, 200);
    ASSERT_EQ(shotA.height, 12);

    const Ink inkA = InkOf(shotA), inkB = InkOf(shotB);
    ASSERT_FALSE(inkA.Empty()) << "nothing was drawn";
    EXPECT_LT(inkA.count, shotA.pixels.size() / 2) << "background shows between the strokes";
    size_t dark = 0;
    for (uint32_t p : shotA.pixels) dark += IsDark(p);
    EXPECT_GT(dark, 40u) << "strokes in the window-text colour";

    // The whole text is there: ink spans about the text's width.
    const SIZE extent = TextExtent(a.Handle(), UiFont(), first);
    EXPECT_GT(extent.cx, 100) << "eleven full-width characters in a 12 px font";
    EXPECT_LE(inkA.left, 2);
    EXPECT_NEAR(inkA.right + 1, extent.cx, 6);

    // Different characters give different strokes.
    size_t differing = 0;
    for (size_t i = 0; i < inkA.mask.size(); ++i) differing += inkA.mask[i] != inkB.mask[i];
    EXPECT_GT(differing, inkA.count / 4) << "both texts drew the same shapes: no glyphs (boxes)";

    // A box glyph is a hollow rectangle: its columns are inked at top and bottom
    // rows alike. Real kana and kanji are not that regular.
    const int cell = extent.cx / 11;
    int boxes = 0;
    for (int c = 0; c < 11; ++c) {
        int topRow = 0, bottomRow = 0;
        for (int x = c * cell + 2; x < (c + 1) * cell - 2; ++x) {
            topRow += inkA.mask[static_cast<size_t>(inkA.top) * shotA.width + x];
            bottomRow += inkA.mask[static_cast<size_t>(inkA.bottom) * shotA.width + x];
        }
        boxes += topRow >= cell - 5 && bottomRow >= cell - 5;
    }
    EXPECT_LT(boxes, 3);
}

TEST(Label, AlignmentPlacesTheText) {
    ControlHost host(300, 80);
    Label label(host.Handle(), {8, 8, 240, 12}, "時間");
    const int textWidth = TextExtent(label.Handle(), UiFont(), "時間").cx;

    Ink ink = InkOf(Shoot(host, label));
    ASSERT_FALSE(ink.Empty());
    EXPECT_LE(ink.left, 2);

    label.SetAlignment(TextAlignment::Right);
    ink = InkOf(Shoot(host, label));
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.right, 240 - 3);
    EXPECT_GE(ink.left, 240 - textWidth - 2);

    label.SetAlignment(TextAlignment::Center);
    ink = InkOf(Shoot(host, label));
    ASSERT_FALSE(ink.Empty());
    EXPECT_NEAR((ink.left + ink.right) / 2, 120, 4);
}

TEST(Label, ColourAndBoldStyleShowInThePixels) {
    ControlHost host(400, 80);
    const std::string text = "※時間設定を０にするとアイコンクリックまでメモリ圧縮しません。";
    Label label(host.Handle(), {8, 16, 357, 12}, text);
    const size_t plainInk = InkOf(Shoot(host, label)).count;

    label.SetColor(RGB(0, 0, 255));
    label.SetFontStyle(FontStyle::Bold);
    EXPECT_EQ(label.Font(), StyledUiFont(FontStyle::Bold).Get());
    const Capture shot = Shoot(host, label);
    test::SaveArtifact(shot, "label_blue_bold");
    size_t blue = 0, dark = 0;
    for (uint32_t p : shot.pixels) {
        blue += (p & 0xFF) > 0xC0 && ((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60;
        dark += IsDark(p);
    }
    EXPECT_GT(blue, 100u);
    EXPECT_EQ(dark, 0u) << "no stroke is left in the default colour";
    EXPECT_GT(InkOf(shot).count, plainInk) << "bold strokes cover more pixels";
}

TEST(Label, ItsStyledFontGoesWhenTheLabelDropsTheStyleOrGoes) {
    ControlHost host;
    HFONT bold = nullptr;
    {
        Label label(host.Handle(), {8, 16, 100, 12}, "設定");
        label.SetFontStyle(FontStyle::Bold);
        bold = label.Font();
        label.SetFontStyle(FontStyle::Underline);
        EXPECT_EQ(GetObjectType(bold), 0u) << "the bold font stayed after the label dropped it";
        const HFONT underline = label.Font();
        label.SetFontStyle(FontStyle::Normal);
        EXPECT_EQ(label.Font(), UiFont());
        EXPECT_EQ(GetObjectType(underline), 0u);
        label.SetFontStyle(FontStyle::Bold);
        bold = label.Font();
        EXPECT_EQ(GetObjectType(bold), static_cast<DWORD>(OBJ_FONT));
    }
    EXPECT_EQ(GetObjectType(bold), 0u) << "the bold font stayed after the label";
}

TEST(Label, DisabledLabelIsGrey) {
    ControlHost host(300, 80);
    Label label(host.Handle(), {8, 8, 200, 12}, "ホットキー");
    label.SetEnabled(false);
    const Capture shot = Shoot(host, label);
    size_t dark = 0;
    for (uint32_t p : shot.pixels) dark += IsDark(p);
    EXPECT_EQ(dark, 0u);
    EXPECT_FALSE(InkOf(shot).Empty());
}

TEST(Label, NewTextIsPainted) {
    ControlHost host(300, 80);
    Label label(host.Handle(), {8, 8, 200, 12}, "時間");
    const size_t shortInk = InkOf(Shoot(host, label)).count;
    label.SetText("メモリ圧縮設定時間");
    const Ink longer = InkOf(Shoot(host, label));
    EXPECT_GT(longer.count, shortInk * 2);
    label.SetText("");
    EXPECT_TRUE(InkOf(Shoot(host, label)).Empty());
}

TEST(Label, AutoSizeFitsTheText) {
    ControlHost host(300, 80);
    Label label(host.Handle(), {65, 27, 10, 10}, "Kestrin Ver.1.56");
    label.SetAutoSize(true);
    const SIZE extent = TextExtent(label.Handle(), UiFont(), "Kestrin Ver.1.56");
    Bounds b = label.GetBounds();
    EXPECT_EQ(b.x, 65);
    EXPECT_EQ(b.y, 27);
    EXPECT_EQ(b.width, extent.cx);
    EXPECT_EQ(b.height, extent.cy);
    label.SetText("Kestrin");
    b = label.GetBounds();
    EXPECT_EQ(b.width, TextExtent(label.Handle(), UiFont(), "Kestrin").cx);
}

TEST(Label, WordWrapBreaksLongTextIntoLines) {
    ControlHost host(300, 80);
    const std::string text = "Copyright (C) 2024 Kestrin authors. All rights reserved.";
    Label label(host.Handle(), {15, 10, 150, 24}, text);
    Ink ink = InkOf(Shoot(host, label));
    const int lineHeight = TextExtent(label.Handle(), UiFont(), text).cy;
    EXPECT_LT(ink.bottom, lineHeight) << "one line, cut at the right edge";
    label.SetWordWrap(true);
    ink = InkOf(Shoot(host, label));
    EXPECT_GE(ink.bottom, lineHeight + 4) << "the rest goes on the second line";
}

TEST(Panel, BevelsAreDrawnAndLeftOutOfTheClientArea) {
    ControlHost host;
    Panel lowered(host.Handle(), {10, 10, 34, 34}, BevelCut::Lowered);
    Panel both(host.Handle(), {60, 10, 270, 145}, BevelCut::Lowered, BevelCut::Raised);
    Panel flat(host.Handle(), {10, 170, 40, 40}, BevelCut::None);

    RECT area = lowered.ClientArea();
    EXPECT_EQ(area.left, 1);
    EXPECT_EQ(area.top, 1);
    EXPECT_EQ(area.right, 33);
    EXPECT_EQ(area.bottom, 33);
    area = both.ClientArea();
    EXPECT_EQ(area.left, 2);
    EXPECT_EQ(area.right, 268);
    area = flat.ClientArea();
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.right, 40);

    Capture shot = Shoot(host, lowered);
    EXPECT_EQ(shot.At(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(shot.At(33, 0), Sys(COLOR_BTNHIGHLIGHT)) << "right edge";
    EXPECT_EQ(shot.At(0, 33), Sys(COLOR_BTNHIGHLIGHT)) << "bottom edge";
    EXPECT_EQ(shot.At(16, 16), Sys(COLOR_BTNFACE));

    shot = Shoot(host, both);
    test::SaveArtifact(shot, "panel_lowered_raised");
    EXPECT_EQ(shot.At(5, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(shot.At(5, 1), Sys(COLOR_BTNHIGHLIGHT)) << "the raised inner bevel";
    EXPECT_EQ(shot.At(5, 143), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(shot.At(5, 144), Sys(COLOR_BTNHIGHLIGHT));

    shot = Shoot(host, flat);
    EXPECT_EQ(test::PixelsUnlike(shot, Sys(COLOR_BTNFACE)), 0u);
}

TEST(Image, FillsItsPanelInsideTheBevel) {
    ControlHost host;
    Panel panel(host.Handle(), {24, 16, 34, 34}, BevelCut::Lowered);
    Image image(panel.Handle());
    image.FillParent();
    const Bounds b = image.GetBounds();
    EXPECT_EQ(b.x, 1);
    EXPECT_EQ(b.y, 1);
    EXPECT_EQ(b.width, 32);
    EXPECT_EQ(b.height, 32);

    // In a plain window it takes the whole client area.
    Image whole(host.Handle());
    whole.FillParent();
    RECT client{};
    GetClientRect(host.Handle(), &client);
    EXPECT_EQ(whole.GetBounds().width, client.right);
    EXPECT_EQ(whole.GetBounds().height, client.bottom);
}

TEST(Image, ShowsTheProgramIconAtItsOwnSize) {
    ControlHost host;
    Panel panel(host.Handle(), {24, 16, 34, 34}, BevelCut::Lowered);
    Image image(panel.Handle());
    image.FillParent();
    ASSERT_TRUE(image.LoadIcon(GetModuleHandleA(nullptr), "MAINICON"));
    const Capture shot = Shoot(host, panel);
    test::SaveArtifact(shot, "image_mainicon_in_panel");
    EXPECT_GT(test::PixelsUnlike(shot, Sys(COLOR_BTNFACE)), 200u);
    EXPECT_GE(test::DistinctColours(shot), 4u);
}

TEST(Image, CentresOrStretchesItsPicture) {
    ControlHost host;
    Image fitting(host.Handle(), {10, 10, 32, 32});
    Image larger(host.Handle(), {50, 10, 40, 40});
    for (Image* image : {&fitting, &larger}) ASSERT_TRUE(image->LoadIcon(GetModuleHandleA(nullptr), "MAINICON"));
    const Ink atSize = InkOf(Shoot(host, fitting));
    const Ink centred = InkOf(Shoot(host, larger));
    EXPECT_EQ(centred.count, atSize.count);
    EXPECT_EQ(centred.left, atSize.left + 4);
    EXPECT_EQ(centred.top, atSize.top + 4);

    larger.SetStretch(true);
    EXPECT_GT(InkOf(Shoot(host, larger)).count, atSize.count);
}

TEST(Bevel, ASunkenLine) {
    ControlHost host;
    Bevel line(host.Handle(), {8, 205, 357, 3});
    Capture shot = Shoot(host, line);
    test::SaveArtifact(shot, "bevel_top_line");
    for (int x : {0, 100, 356}) {
        EXPECT_EQ(shot.At(x, 0), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(shot.At(x, 1), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(shot.At(x, 2), Sys(COLOR_BTNFACE));
    }
}

}  // namespace
}  // namespace kestrin
