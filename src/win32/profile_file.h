#pragma once
// A Windows profile (ini) file, read and written through the system's
// profile API: every write goes to the file at once.
#include <cstdint>
#include <string>

namespace kestrin {

class ProfileFile {
public:
    explicit ProfileFile(std::string path);
    // Flushes the system's cache of the file; never throws.
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // A missing key or a value that is no integer gives `fallback`
    // (decimal, or hexadecimal after "0x" or "$").
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;

    // A write the system refuses raises KestrinError "<path> に書き込めません".
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // Writes the system's cached contents of the file to disk.
    void Flush() noexcept;

private:
    std::string path_;
};

}  // namespace kestrin
