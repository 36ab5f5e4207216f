#include "framework/portable/destroy_notifier.h"

#include <algorithm>

namespace kestrin {

DestroyNotifier::Token DestroyNotifier::Add(std::function<void()> observer) {
    const Token token = next_++;
    observers_.emplace_back(token, std::move(observer));
    return token;
}

void DestroyNotifier::Remove(Token token) {
    std::erase_if(observers_, [token](const auto& entry) { return entry.first == token; });
}

void DestroyNotifier::Notify() noexcept {
    while (!observers_.empty()) {
        auto observer = std::move(observers_.front().second);
        observers_.erase(observers_.begin());
        if (observer) observer();
    }
}

}  // namespace kestrin
