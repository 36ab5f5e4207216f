#pragma once
// The one error type of the program: carries a message in the ANSI code page
// (cp932), shown to the user in a message box at the top of the message loop,
// and, for the diagnostics trace, the system's error code of the call that
// failed and the place in the source that raised it.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace kestrin {

class KestrinError : public std::exception {
public:
    // `systemError`: GetLastError (or the HRESULT) of the failed call; 0 when
    // no system call failed.
    // The place is the raiser's (the builtins, unlike std::source_location,
    // put no function names into the program).
    explicit KestrinError(std::string message, uint32_t systemError = 0, const char* file = __builtin_FILE(),
                          int line = __builtin_LINE())
        : message_(std::move(message)), systemError_(systemError), file_(file), line_(line) {}
    // For a fixed text: the string is made here, not at every place that raises one.
    explicit KestrinError(const char* message, uint32_t systemError = 0, const char* file = __builtin_FILE(),
                          int line = __builtin_LINE());
    const char* what() const noexcept override { return message_.c_str(); }
    uint32_t SystemError() const noexcept { return systemError_; }
    // Where it was raised: the source file (its path in the source tree) and line.
    const char* File() const noexcept { return file_; }
    int Line() const noexcept { return line_; }

    // Replaces the first "%s" of the pattern with the argument.
    static KestrinError Format(std::string_view pattern, std::string_view arg, uint32_t systemError = 0,
                               const char* file = __builtin_FILE(), int line = __builtin_LINE());

private:
    std::string message_;
    uint32_t systemError_;
    const char* file_;
    int line_;
};

// An error as the trace shows it: the text, then for a KestrinError the
// system's code and the place, "text (system error 5, src/x.cpp:12)".
std::string DescribeError(std::exception_ptr error);

}  // namespace kestrin
