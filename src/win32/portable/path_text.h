#pragma once
// Path texts in cp932. A '\\' byte that is the trail byte of a double-byte
// character ("表" = 95 5C, "ソ" = 83 5C) is part of a name, never a delimiter.
#include <string>
#include <string_view>

namespace kestrin {

// The last component of a path: everything after the last '\\' or ':'
// (the drive colon), or the whole text when it has neither.
std::string ExtractFileName(std::string_view path);

// Replaces the extension of the last path component by `ext` (given with its
// dot, e.g. ".ini"), or appends `ext` when that component has none. A '.' in a
// folder name is no extension.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// Adds "\\" unless the last character already is '\\'. An empty folder gives
// "\\", so a file name appended to it lands in the root of the current drive.
std::string IncludeTrailingPathDelimiter(std::string_view folder);

}  // namespace kestrin
