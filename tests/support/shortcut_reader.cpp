#include "support/shortcut_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "win32/com_scope.h"
#include "win32/handles.h"

namespace kestrin::test {

std::optional<ShortcutContents> ReadShortcut(const std::string& file) {
    ComScope com;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void())))
        return std::nullopt;
    ComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, persist.put_void()))) return std::nullopt;
    wchar_t wide[MAX_PATH + 1] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH + 1);
    if (FAILED(persist->Load(wide, STGM_READ))) return std::nullopt;
    ShortcutContents contents;
    char text[1024] = {};
    // Raw: the path as stored, not resolved against the file system.
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    contents.path = text;
    text[0] = 0;
    link->GetArguments(text, sizeof text);
    contents.arguments = text;
    text[0] = 0;
    link->GetDescription(text, sizeof text);
    contents.description = text;
    text[0] = 0;
    link->GetWorkingDirectory(text, sizeof text);
    contents.workingDirectory = text;
    text[0] = 0;
    link->GetIconLocation(text, sizeof text, &contents.iconIndex);
    contents.iconPath = text;
    return contents;
}

}  // namespace kestrin::test
