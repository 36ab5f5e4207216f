#pragma once
// The rules of the hyperlink label that need no window: link types and their
// prefixes (with the one custom prefix shared by every label), the target,
// the text width the label sizes itself to, the hint, and the order of the
// events around an activation.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrin {

enum TLinkType : uint8_t { ltEmail, ltFile, ltGopher, ltHttp, ltNews, ltWais, ltTelnet, ltCustom };

// The prefix of a link type; ltCustom gives the shared custom prefix.
std::string LinkPrefix(TLinkType type);
// The custom prefix shared by all labels of the process (21 spaces at first).
const std::string& CustomLinkPrefix();
void SetCustomLinkPrefix(std::string prefix);

// What a label opens and copies: its prefix followed directly by its caption.
std::string LinkTarget(TLinkType type, std::string_view caption);

// The open builds the target in a buffer of this many bytes (terminator
// included); a longer target is refused, never cut to another address.
inline constexpr size_t kLinkTargetBuffer = 2000;
bool LinkTargetFits(std::string_view target) noexcept;

// Width the label needs for its text (W), from the measured widths: the alias
// plus 8, or caption and prefix together plus 10 (4 before, 2 between, 4 after);
// pixels at 96 dpi, scaled to a screen of `dpi`.
int LinkTextWidth(bool hasAlias, int measuredWidth, int dpi) noexcept;
// Height it needs: the height of "xY" plus 4 (scaled as above).
int LinkTextHeight(int measuredHeight, int dpi) noexcept;
// The room before the text, and between prefix and caption, at 96 dpi.
inline constexpr int kLinkTextIndent = 4;
inline constexpr int kLinkPrefixGap = 2;

// The hint: the label's own (saved) hint while the text fits and it has one;
// otherwise the whole target.
std::string LinkHint(int textWidth, int labelWidth, const std::string& savedHint, const std::string& target);

// One activation (a left click), in this order: OnBeforeExecuted may veto
// it (then nothing else happens); OnExecute may carry it out itself by
// clearing executeIt; otherwise Open asks the shell; a result above 32 marks
// the label visited; OnAfterExecuted is told the result. Any may be empty.
struct LinkActivation {
    std::function<void(bool& executeIt)> OnBeforeExecuted;
    std::function<void(bool& executeIt)> OnExecute;
    std::function<int32_t()> Open;
    std::function<void()> MarkVisited;
    std::function<void(int32_t result)> OnAfterExecuted;
};
// The result of an activation that nobody vetoed and that was carried out
// without the shell (OnExecute cleared ExecuteIt): counted as a success.
inline constexpr int32_t kLinkHandledResult = 33;
struct LinkOutcome {
    bool Vetoed = false;   // OnBeforeExecuted said no: nothing else happened
    bool Visited = false;
    int32_t Result = kLinkHandledResult;
};
LinkOutcome ActivateLink(const LinkActivation& activation);

}  // namespace kestrin
