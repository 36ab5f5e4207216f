// Observers learn that a referenced object goes away: each exactly once, in
// the order they registered, and not after they withdrew.
#include "framework/portable/destroy_notifier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrin {
namespace {

TEST(DestroyNotifier, CallsEveryObserverOnceInRegistrationOrder) {
    DestroyNotifier notifier;
    std::string calls;
    notifier.Add([&] { calls += 'a'; });
    notifier.Add([&] { calls += 'b'; });
    notifier.Add([&] { calls += 'c'; });
    notifier.Notify();
    EXPECT_EQ(calls, "abc");
    notifier.Notify();
    EXPECT_EQ(calls, "abc") << "observers are forgotten once told";
}

TEST(DestroyNotifier, RemovedObserverIsNotCalledAndOthersStay) {
    DestroyNotifier notifier;
    std::string calls;
    notifier.Add([&] { calls += 'a'; });
    const auto b = notifier.Add([&] { calls += 'b'; });
    notifier.Add([&] { calls += 'c'; });
    notifier.Remove(b);
    notifier.Remove(b);      // a second removal is harmless
    notifier.Remove(12345);  // so is an unknown token
    notifier.Notify();
    EXPECT_EQ(calls, "ac");
}

TEST(DestroyNotifier, TokensAreDistinctAndNeverZeroEvenAfterRemoval) {
    DestroyNotifier notifier;
    std::vector<DestroyNotifier::Token> tokens;
    for (int i = 0; i < 5; ++i) {
        tokens.push_back(notifier.Add([] {}));
        notifier.Remove(tokens.back());
    }
    for (size_t i = 0; i < tokens.size(); ++i) {
        EXPECT_NE(tokens[i], 0u);
        for (size_t j = i + 1; j < tokens.size(); ++j) EXPECT_NE(tokens[i], tokens[j]);
    }
}

TEST(DestroyNotifier, ObserverMayWithdrawAnotherWhileBeingNotified) {
    DestroyNotifier notifier;
    std::string calls;
    DestroyNotifier::Token second = 0;
    notifier.Add([&] {
        calls += 'a';
        notifier.Remove(second);
    });
    second = notifier.Add([&] { calls += 'b'; });
    notifier.Notify();
    EXPECT_EQ(calls, "a");
}

}  // namespace
}  // namespace kestrin
