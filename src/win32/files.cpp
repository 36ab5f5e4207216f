#include "win32/files.h"

#include <windows.h>

#include "win32/handles.h"

namespace kestrin {

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

ReadHold::ReadHold(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr)) {
    // Only a refused open asks again: a folder of that name is no file.
    if (!file_) unreadable_ = FileExists(path);
}

namespace {
// The longest module name the system gives (32,767 UTF-16 units), in bytes
// of the ANSI code page.
constexpr size_t kMaxModulePathBytes = 2 * 32768;
}  // namespace

std::string ProgramFilePath() {
    // Whole or not at all: a cut path names another file. A cut fills the
    // buffer to the brim, or to one byte short of it where a double-byte
    // character did not fit (and Wine then reports no cut), so the buffer
    // grows until the name leaves two bytes to spare.
    std::string path(MAX_PATH, '\0');
    while (path.size() <= kMaxModulePathBytes) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length + 1 < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

}  // namespace kestrin
