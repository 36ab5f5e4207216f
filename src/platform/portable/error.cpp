#include "platform/portable/error.h"

namespace kestrin {

KestrinError KestrinError::Format(std::string_view pattern, std::string_view arg) {
    std::string text(pattern);
    if (auto pos = text.find("%s"); pos != std::string::npos) text.replace(pos, 2, arg);
    return KestrinError(std::move(text));
}

}  // namespace kestrin
