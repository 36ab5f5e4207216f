#include "controls/hyperlink_label.h"

#include <shellapi.h>

#include "win32/main_thread.h"
#include "framework/application.h"
#include "win32/clipboard.h"
#include "win32/com_scope.h"
#include "win32/cursors.h"
#include "win32/screen_dpi.h"
#include "framework/window_class.h"

namespace kestrin {

namespace {

constexpr char kCopyUrlCaption[] = "Copy Url to clipboard";
constexpr char kClipboardFailed[] = "Could not write to clipboard";
// What the activation reports for a target too long to open whole: a
// failure, as ShellExecute's own codes of 32 and below are.
constexpr int32_t kTargetRefused = 0;
// DT_VCENTER has no effect without DT_SINGLELINE: the text sits at the top
// of the label. '&' is shown as it is, since addresses may contain one.
constexpr UINT kTextFlags = DT_VCENTER | DT_NOPREFIX;

// The program's own hand replaces the system's, once, for every label.
void InstallHandPointCursor() {
    static const bool installed = [] {
        RequireStartingThread("Kestrin: the hand cursor was first installed off the main thread.");
        HCURSOR hand = LoadCursorA(ProgramInstance(), "HANDPOINT");
        if (hand) SetScreenCursor(crHandPoint, hand);
        return hand != nullptr;
    }();
    (void)installed;
}

SIZE TextExtent(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void DrawTextIn(HDC dc, const std::string& text, RECT& rect, UINT flags) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

}  // namespace

THyperLink::THyperLink(HWND parent, const Bounds& bounds)
    : GraphicControl(parent, bounds), linkMenu_(std::make_unique<PopupMenu>(parent)) {
    InstallHandPointCursor();
    SetShowHint(true);
    SetCursor(crHandPoint);
    linkMenu_->SetAlignment(TPM_LEFTALIGN);
}

THyperLink::~THyperLink() = default;

void THyperLink::Changed() {
    if (!Loading()) Invalidate();
}

void THyperLink::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    visited_ = false;
    Changed();
}

void THyperLink::SetAlias(std::string alias) {
    if (alias == alias_) return;
    alias_ = std::move(alias);
    Changed();
}

void THyperLink::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    Changed();
}

void THyperLink::SetLinkType(TLinkType type) {
    if (type == linkType_) return;
    linkType_ = type;
    visited_ = false;
    Changed();
}

void THyperLink::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed();
}

void THyperLink::SetLinkColor(COLORREF color) {
    if (color == linkColor_) return;
    linkColor_ = color;
    Changed();
}

void THyperLink::SetVisitedColor(COLORREF color) {
    if (color == visitedColor_) return;
    visitedColor_ = color;
    Changed();
}

void THyperLink::SetVisited(bool visited) {
    if (visited == visited_) return;
    visited_ = visited;
    Changed();
}

void THyperLink::SetCustomPrefix(std::string prefix) {
    if (prefix == CustomLinkPrefix()) return;
    SetCustomLinkPrefix(std::move(prefix));
    // The other ltCustom labels show the new prefix at their next paint.
    if (linkType_ == ltCustom) Changed();
}

void THyperLink::OnLoaded() {
    GraphicControl::OnLoaded();
    // The menu text names no shortcut: the item has none.
    linkMenu_->AddItem(kCopyUrlCaption, [this] { CopyUrlToClipboard(); });
    OnMouseDown = [this](GraphicControl& sender, MouseButton button, ShiftState shift, int x, int y) {
        LinkMouseDown(sender, button, shift, x, y);
    };
    if (savedHint_.empty()) savedHint_ = Hint();
}

void THyperLink::LinkMouseDown(GraphicControl&, MouseButton button, ShiftState, int x, int y) {
    if (button != mbRight) return;
    const POINT screen = ClientToScreen(x, y);
    linkMenu_->Popup(screen.x, screen.y);
}

void THyperLink::CopyUrlToClipboard() {
    if (!SetClipboardText(Parent(), Target()))
        ShowMessageBox(kClipboardFailed, App().MessageCaption(), MB_OK);
}

void THyperLink::Click() {
    if (Loading()) return;
    LinkActivation activation;
    if (OnBeforeExecuted) activation.OnBeforeExecuted = [this](bool& executeIt) { OnBeforeExecuted(*this, executeIt); };
    if (OnExecute) activation.OnExecute = [this](bool& executeIt) { OnExecute(*this, executeIt); };
    activation.Open = [this]() -> int32_t {
        const std::string target = Target();
        if (!LinkTargetFits(target)) return kTargetRefused;
        StayInApartmentForTheRun();
        const auto result =
            ShellExecuteA(App().Handle(), "open", target.c_str(), nullptr, ".", SW_SHOWNORMAL);
        return static_cast<int32_t>(reinterpret_cast<INT_PTR>(result));
    };
    activation.MarkVisited = [this] {
        SetVisited(true);
        Invalidate();
    };
    if (OnAfterExecuted) activation.OnAfterExecuted = [this](int32_t result) { OnAfterExecuted(*this, result); };
    ActivateLink(activation);
}

HFONT THyperLink::UnderlineFont() {
    const HFONT source = Font();
    if (source != underlineSource_ || !underlineFont_) {
        LOGFONTA font{};
        GetObjectA(source, sizeof font, &font);
        font.lfUnderline = TRUE;
        underlineFont_.reset(CreateFontIndirectA(&font));
        underlineSource_ = source;
    }
    return underlineFont_ ? underlineFont_.get() : source;
}

void THyperLink::Paint(HDC dc) {
    if (Loading()) return;
    const std::string prefix = LinkPrefix(linkType_);
    SelectGuard font(dc, UnderlineFont());
    SetTextColor(dc, visited_ ? visitedColor_ : linkColor_);

    const int dpi = ScreenDpi();
    const int height = LinkTextHeight(TextExtent(dc, "xY").cy, dpi);
    const int width = alias_.empty() ? LinkTextWidth(false, TextExtent(dc, caption_ + prefix).cx, dpi)
                                     : LinkTextWidth(true, TextExtent(dc, alias_).cx, dpi);
    if (autoSize_) {
        // Sizing repaints the new area later; this paint stays within the old one.
        Bounds bounds = GetBounds();
        bounds.width = width;
        bounds.height = height;
        SetBounds(bounds);
    }
    RECT rect{0, 0, Width(), Height()};
    if (!transparent_) {
        BrushHandle brush(CreateSolidBrush(EffectiveColor()));
        FillRect(dc, &rect, brush.get());
    }
    SetBkMode(dc, TRANSPARENT);
    rect.left += Scaled(kLinkTextIndent);
    if (!alias_.empty()) {
        DrawTextIn(dc, alias_, rect, kTextFlags);
    } else {
        DrawTextIn(dc, prefix, rect, kTextFlags);
        rect.left += TextExtent(dc, prefix).cx + Scaled(kLinkPrefixGap);
        DrawTextIn(dc, caption_, rect, kTextFlags | DT_END_ELLIPSIS);
    }
    SetHint(LinkHint(width, Width(), savedHint_, Target()));
}

}  // namespace kestrin
