#include "controls/portable/link_rules.h"

#include "win32/portable/display_scale.h"

namespace kestrin {

namespace {

// The process-wide custom prefix; made before the program's first thread
// starts, released with the process.
std::string sharedCustomPrefix(21, ' ');

std::string& SharedCustomPrefix() { return sharedCustomPrefix; }

}  // namespace

std::string LinkPrefix(TLinkType type) {
    switch (type) {
        case ltEmail: return "mailto:";
        case ltFile: return "file://";
        case ltGopher: return "gopher://";
        case ltHttp: return "http://";
        case ltNews: return "news:";
        case ltWais: return "wais:";
        case ltTelnet: return "telnet:";
        case ltCustom: return SharedCustomPrefix();
    }
    return {};
}

const std::string& CustomLinkPrefix() { return SharedCustomPrefix(); }

void SetCustomLinkPrefix(std::string prefix) { SharedCustomPrefix() = std::move(prefix); }

std::string LinkTarget(TLinkType type, std::string_view caption) {
    std::string target = LinkPrefix(type);
    target += caption;
    return target;
}

bool LinkTargetFits(std::string_view target) noexcept { return target.size() < kLinkTargetBuffer; }

int LinkTextWidth(bool hasAlias, int measuredWidth, int dpi) noexcept {
    return measuredWidth + ScaleToDpi(hasAlias ? 2 * kLinkTextIndent : 2 * kLinkTextIndent + kLinkPrefixGap, dpi);
}

int LinkTextHeight(int measuredHeight, int dpi) noexcept { return measuredHeight + ScaleToDpi(4, dpi); }

std::string LinkHint(int textWidth, int labelWidth, const std::string& savedHint, const std::string& target) {
    if (textWidth <= labelWidth && !savedHint.empty()) return savedHint;
    return target;
}

LinkOutcome ActivateLink(const LinkActivation& activation) {
    LinkOutcome outcome;
    bool executeIt = true;
    if (activation.OnBeforeExecuted) {
        activation.OnBeforeExecuted(executeIt);
        if (!executeIt) {
            outcome.Vetoed = true;
            return outcome;
        }
    }
    if (activation.OnExecute) activation.OnExecute(executeIt);
    if (executeIt && activation.Open) outcome.Result = activation.Open();
    outcome.Visited = outcome.Result > 32;
    if (outcome.Visited && activation.MarkVisited) activation.MarkVisited();
    if (activation.OnAfterExecuted) activation.OnAfterExecuted(outcome.Result);
    return outcome;
}

}  // namespace kestrin
