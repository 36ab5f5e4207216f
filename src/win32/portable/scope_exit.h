#pragma once
// Runs a call when the scope ends, however it ends (return or exception):
// the one way to undo a step on every path without writing a class for it.
//     const ScopeExit resume([&] { ResumeInterval(); });
#include <utility>

namespace kestrin {

template <typename Call>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Call call) noexcept : call_(std::move(call)) {}
    ~ScopeExit() { call_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Call call_;
};

}  // namespace kestrin
