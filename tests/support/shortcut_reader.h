#pragma once
// A shortcut file read back through the shell's link object, as the shell
// itself would read it.
#include <optional>
#include <string>

namespace kestrin::test {

struct ShortcutContents {
    std::string path;
    std::string arguments;
    std::string description;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = 0;
};

// Nothing when the file cannot be loaded as a shortcut.
std::optional<ShortcutContents> ReadShortcut(const std::string& file);

}  // namespace kestrin::test
