#include "win32/portable/path_text.h"

#include "win32/portable/cp932.h"

namespace kestrin {
namespace {

// Byte offset of the last character that is one of `delimiters`, walking whole
// cp932 characters from the start; npos when there is none.
std::size_t LastDelimiter(std::string_view text, std::string_view delimiters) {
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Cp932CharLength(text, pos);
        if (length == 1 && delimiters.find(text[pos]) != std::string_view::npos) found = pos;
        pos += length;
    }
    return found;
}

}  // namespace

std::string ExtractFileName(std::string_view path) {
    const std::size_t delimiter = LastDelimiter(path, "\\:");
    return std::string(delimiter == std::string_view::npos ? path : path.substr(delimiter + 1));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::size_t found = LastDelimiter(path, ".\\:");
    const bool hasExtension = found != std::string_view::npos && path[found] == '.';
    std::string result(hasExtension ? path.substr(0, found) : path);
    result += ext;
    return result;
}

std::string IncludeTrailingPathDelimiter(std::string_view folder) {
    std::string result(folder);
    const std::size_t last = LastDelimiter(folder, "\\");
    if (folder.empty() || last != folder.size() - 1) result += '\\';
    return result;
}

}  // namespace kestrin
