#pragma once
// Writing one shortcut file (.lnk) through the shell's link object.
#include <string>

namespace kestrin {

// Writes a shortcut at `linkPath` to `target` with the description; the
// arguments and the working folder are set only when not empty, and a
// shortcut with arguments shows the program's second icon. COM must be
// initialised on the calling thread. False, with nothing written, when a
// text does not fit its buffer or the shell refuses a step.
bool MakeShortCut(const std::string& target, const std::string& arguments, const std::string& linkPath,
                  const std::string& description, const std::string& workDir);

}  // namespace kestrin
