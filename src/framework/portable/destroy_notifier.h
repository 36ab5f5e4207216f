#pragma once
// Lets other objects learn that an object they reference (but do not own) is
// going away, so they can drop the reference: the tray icon forgets its popup
// menu or image list this way.
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace kestrin {

class DestroyNotifier {
public:
    using Token = std::size_t;

    DestroyNotifier() = default;
    DestroyNotifier(const DestroyNotifier&) = delete;
    DestroyNotifier& operator=(const DestroyNotifier&) = delete;
    ~DestroyNotifier() = default;

    // Tokens are never 0 and never reused by the same notifier.
    Token Add(std::function<void()> observer);
    void Remove(Token token);

    // Calls every observer once, in the order they were added, and forgets
    // them. An observer may remove others (or itself) while this runs.
    // Runs from destructors, so observers must not throw.
    void Notify() noexcept;

private:
    std::vector<std::pair<Token, std::function<void()>>> observers_;
    Token next_ = 1;
};

}  // namespace kestrin
