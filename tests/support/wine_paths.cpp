#include "support/wine_paths.h"

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>

namespace kestrin::test {

std::string UnixToWindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string ArtifactDir() {
    std::string dir = UnixToWindowsPath(KESTRIN_ARTIFACT_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

namespace {
std::string ShellFolder(int csidl) {
    char buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, buffer))) return {};
    return buffer;
}
}  // namespace

std::string DocumentsFolder() { return ShellFolder(CSIDL_PERSONAL); }

std::string StartupFolder() { return ShellFolder(CSIDL_STARTUP | CSIDL_FLAG_CREATE); }

std::string DesktopFolder() { return ShellFolder(CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE); }

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace kestrin::test
