#include "win32/shell_folder.h"

#include <shlobj.h>

namespace kestrin {

std::string ShellFolderPath(HWND owner, int csidl) {
    // By path, not through an item list: an item list is allocated by COM,
    // which would load ole32 (over a megabyte) for the program's whole run.
    char buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(owner, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return buffer;
}

}  // namespace kestrin
