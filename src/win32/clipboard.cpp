#include "win32/clipboard.h"

#include <cstring>

#include "win32/handles.h"

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

bool SetClipboardText(HWND owner, std::string_view text) {
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) return false;
    void* bytes = GlobalLock(memory.get());
    if (!bytes) return false;
    std::memcpy(bytes, text.data(), text.size());
    static_cast<char*>(bytes)[text.size()] = '\0';
    GlobalUnlock(memory.get());

    OpenedClipboard clipboard(owner);
    if (!clipboard.Open() || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_TEXT, memory.get())) return false;
    // The clipboard owns the memory from here on.
    memory.release();
    return true;
}

}  // namespace kestrin
