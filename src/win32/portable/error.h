#pragma once
// The one error type of the program: carries a message in the ANSI code page
// (cp932), shown to the user in a message box at the top of the message loop.
#include <exception>
#include <string>
#include <string_view>

namespace kestrin {

class KestrinError : public std::exception {
public:
    explicit KestrinError(std::string message) : message_(std::move(message)) {}
    // For a fixed text: the string is made here, not at every place that raises one.
    explicit KestrinError(const char* message);
    const char* what() const noexcept override { return message_.c_str(); }

    // Replaces the first "%s" of the pattern with the argument.
    static KestrinError Format(std::string_view pattern, std::string_view arg);

private:
    std::string message_;
};

}  // namespace kestrin
