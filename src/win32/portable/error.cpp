#include "win32/portable/error.h"

#include "win32/portable/decimal_text.h"

namespace kestrin {

KestrinError::KestrinError(const char* message, uint32_t systemError, const char* file, int line)
    : message_(message), systemError_(systemError), file_(file), line_(line) {}

KestrinError KestrinError::Format(std::string_view pattern, std::string_view arg, uint32_t systemError,
                                  const char* file, int line) {
    const std::size_t pos = pattern.find("%s");
    std::string text(pattern.substr(0, pos));
    if (pos != std::string_view::npos) text.append(arg).append(pattern.substr(pos + 2));
    return KestrinError(std::move(text), systemError, file, line);
}

std::string DescribeError(std::exception_ptr error) {
    if (!error) return "no error";
    try {
        std::rethrow_exception(error);
    } catch (const KestrinError& e) {
        return std::string(e.what()) + " (system error " + DecimalText(e.SystemError()) + ", " +
               e.File() + ":" + DecimalText(e.Line()) + ")";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an exception of no known type";
    }
}

}  // namespace kestrin
