#pragma once
// THyperLink: a clickable text label drawn on its parent's surface (a
// graphic control). It shows its target (the link type's prefix, then the
// caption) or, in its place, an Alias, underlined in the link colour, or in
// the visited colour once the target has been opened. A left click opens
// the target with the shell's "open"; a right click offers a menu that copies
// the target to the clipboard. The hint shows the whole target whenever the
// text does not fit or the label has no hint of its own.
//
// Built in a form description, the label gets its menu item and its
// right-click handling when it is loaded; one made outside has neither.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/portable/link_rules.h"
#include "framework/graphic_control.h"
#include "win32/handles.h"
#include "framework/popup_menu.h"

namespace kestrin {

class THyperLink : public GraphicControl {
public:
    using TBeforeExecuteEvent = std::function<void(THyperLink& sender, bool& executeIt)>;
    using TExecuteEvent = std::function<void(THyperLink& sender, bool& executeIt)>;
    using TAfterExecuteEvent = std::function<void(THyperLink& sender, int32_t reslt)>;

    static constexpr COLORREF kDefaultLinkColor = 0xFF0000;     // blue (0x00BBGGRR)
    static constexpr COLORREF kDefaultVisitedColor = 0x800080;  // purple

    explicit THyperLink(HWND parent, const Bounds& bounds = {20, 20, 100, 13});
    ~THyperLink() override;

    // Setting it clears Visited.
    void SetCaption(std::string caption);
    // Shown in place of prefix and caption when not empty.
    void SetAlias(std::string alias);
    void SetAutoSize(bool autoSize);
    // Setting another type clears Visited.
    void SetLinkType(TLinkType type);
    void SetTransparent(bool transparent);
    void SetLinkColor(COLORREF color);
    void SetVisitedColor(COLORREF color);
    void SetVisited(bool visited);
    bool Visited() const noexcept { return visited_; }
    // The custom prefix is one for the whole process (see link_rules.h):
    // setting it on one label changes every ltCustom label.
    void SetCustomPrefix(std::string prefix);
    const std::string& CustomPrefix() const { return CustomLinkPrefix(); }

    // Prefix and caption: what a click opens and the menu copies.
    std::string Target() const { return LinkTarget(linkType_, caption_); }
    // The hint the label had when it was loaded.
    const std::string& SavedHint() const noexcept { return savedHint_; }
    PopupMenu& LinkMenu() noexcept { return *linkMenu_; }

    // What a left click does: the activation with its events (nothing while
    // the label is still loading).
    void Click() override;
    // Puts the target on the clipboard; says so when it cannot.
    void CopyUrlToClipboard();

    TBeforeExecuteEvent OnBeforeExecuted;
    TExecuteEvent OnExecute;
    TAfterExecuteEvent OnAfterExecuted;

protected:
    void Paint(HDC dc) override;
    void OnLoaded() override;

private:
    void LinkMouseDown(GraphicControl& sender, MouseButton button, ShiftState shift, int x, int y);
    // Asks for a repaint, except while the stored properties are applied.
    void Changed();
    // The label's font with underline added (made once per font).
    HFONT UnderlineFont();

    std::unique_ptr<PopupMenu> linkMenu_;
    bool visited_ = false;
    bool transparent_ = true;
    bool autoSize_ = true;
    TLinkType linkType_ = ltEmail;
    COLORREF linkColor_ = kDefaultLinkColor;
    COLORREF visitedColor_ = kDefaultVisitedColor;
    std::string savedHint_;
    std::string alias_;
    std::string caption_;
    HFONT underlineSource_ = nullptr;
    FontHandle underlineFont_;
};

}  // namespace kestrin
