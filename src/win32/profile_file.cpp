#include "win32/profile_file.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "win32/portable/error.h"
#include "win32/portable/profile_values.h"

namespace kestrin {

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

ProfileFile::~ProfileFile() { Flush(); }

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
    // The API cuts a value to the buffer and then returns size - 1; grow
    // until the value fits with room to spare.
    std::vector<char> buffer(2048);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                                      size, path_.c_str());
        if (length + 1 < size || buffer.size() >= (1u << 20)) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

int32_t ProfileFile::ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const {
    return ParseProfileInteger(ReadString(section, key, "")).value_or(fallback);
}

void ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw KestrinError::Format("%s に書き込めません", path_, GetLastError());
}

void ProfileFile::Flush() noexcept { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()); }

}  // namespace kestrin
