#pragma once
// Questions about files by path (cp932).
#include <string>

namespace kestrin {

// A file (not a folder) exists at the path.
bool FileExists(const std::string& path);

}  // namespace kestrin
