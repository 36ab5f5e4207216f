#include "dialogs/shortcut_file.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <initializer_list>
#include <iterator>

#include "win32/files.h"
#include "dialogs/portable/shortcut_rules.h"
#include "win32/com_scope.h"
#include "win32/handles.h"

namespace kestrin {

bool MakeShortCut(const std::string& target, const std::string& arguments, const std::string& linkPath,
                  const std::string& description, const std::string& workDir) {
    const std::string iconPath = ProgramFilePath();
    if (target.empty() || iconPath.empty()) return false;
    for (const std::string* text : {&target, &arguments, &description, &workDir, &iconPath})
        if (!FitsShortcutBuffer(*text)) return false;
    // The file name in UTF-16, whole or not at all.
    wchar_t widePath[kMaxShortcutText + 1] = {};
    if (!FitsShortcutBuffer(linkPath) ||
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, linkPath.c_str(), -1, widePath,
                            static_cast<int>(std::size(widePath))) == 0)
        return false;

    ComPtr<IShellLinkA> link;
    if (FAILED(CreateComInstance(CLSID_ShellLink, IID_IShellLinkA, link.put_void())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
    if (FAILED(link->SetPath(target.c_str()))) return false;
    if (FAILED(link->SetDescription(description.c_str()))) return false;
    if (!workDir.empty() && FAILED(link->SetWorkingDirectory(workDir.c_str()))) return false;
    if (!arguments.empty()) {
        if (FAILED(link->SetArguments(arguments.c_str()))) return false;
        if (FAILED(link->SetIconLocation(iconPath.c_str(), kOneShotIconIndex))) return false;
    }
    return SUCCEEDED(file->Save(widePath, TRUE));
}

}  // namespace kestrin
