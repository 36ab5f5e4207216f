#include "win32/portable/error.h"

namespace kestrin {

KestrinError::KestrinError(const char* message) : message_(message) {}

KestrinError KestrinError::Format(std::string_view pattern, std::string_view arg) {
    const std::size_t pos = pattern.find("%s");
    std::string text(pattern.substr(0, pos));
    if (pos != std::string_view::npos) text.append(arg).append(pattern.substr(pos + 2));
    return KestrinError(std::move(text));
}

}  // namespace kestrin
