#pragma once
// Questions about files by path (cp932).
#include <string>

#include "win32/handles.h"

namespace kestrin {

// A file (not a folder) exists at the path.
bool FileExists(const std::string& path);

// A look at a file that is about to be read through another API: the file
// is opened for reading, sharing everything, and held open until the hold
// ends, so that no other program can take it for itself in between (a
// program that shares nothing cannot open a file that is open).
class ReadHold {
public:
    explicit ReadHold(const std::string& path);
    // The file exists but could not be opened for reading (another program
    // holds it and shares nothing, or the user may not read it). A missing
    // file is not unreadable.
    bool Unreadable() const noexcept { return unreadable_; }

private:
    KernelHandle file_;
    bool unreadable_ = false;
};

// Full path of the running program file, never cut; "" when the system
// cannot tell.
std::string ProgramFilePath();

}  // namespace kestrin
