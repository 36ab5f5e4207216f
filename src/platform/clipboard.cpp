#include "platform/clipboard.h"

namespace kestrin {

namespace {

// OpenClipboard / CloseClipboard.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) noexcept : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool Open() const noexcept { return open_; }

private:
    bool open_;
};

}  // namespace

std::optional<std::string> ClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_TEXT)) return std::nullopt;
    OpenedClipboard clipboard(owner);
    if (!clipboard.Open()) return std::nullopt;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return std::nullopt;
    const auto* text = static_cast<const char*>(GlobalLock(data));
    if (!text) return std::nullopt;
    // Bounded by the block's size: clipboard data need not end in a zero.
    const SIZE_T size = GlobalSize(data);
    SIZE_T length = 0;
    while (length < size && text[length] != '\0') ++length;
    std::string result(text, length);
    GlobalUnlock(data);
    return result;
}

}  // namespace kestrin
