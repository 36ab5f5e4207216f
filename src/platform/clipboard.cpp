#include "platform/clipboard.h"

#include <cstring>

#include "platform/handles.h"

namespace kestrin {

namespace {

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
