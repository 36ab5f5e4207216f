#include "platform/shell_folder.h"

#include <shlobj.h>

#include "platform/handles.h"

namespace kestrin {

std::string ShellFolderPath(HWND owner, int csidl) {
    char buffer[MAX_PATH + 1] = {};
    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.put()))) return {};
    // Freed through the allocator whichever way the lookup ends.
    ShellItemList list(allocator);
    if (FAILED(SHGetSpecialFolderLocation(owner, csidl, list.put())) || !list.get()) return {};
    if (!SHGetPathFromIDListA(list.get(), buffer)) return {};
    return buffer;
}

}  // namespace kestrin
