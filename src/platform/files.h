#pragma once
// Questions about files by path (cp932).
#include <string>

namespace kestrin {

// A file (not a folder) exists at the path.
bool FileExists(const std::string& path);

// A file exists at the path but cannot be opened for reading (another
// program holds it open and shares nothing, or the user may not read it).
bool FileUnreadable(const std::string& path);

// Full path of the running program file, never cut; "" when the system
// cannot tell.
std::string ProgramFilePath();

}  // namespace kestrin
