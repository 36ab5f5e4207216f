// The standard library's failure reports as Kestrin.exe raises them
// (src/app/std_throw_helpers.cpp, linked here ahead of the library as in the
// program): the library's own texts, without the library's string-carrying
// exception types; allocation failures as the standard types.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Failure {
    bool raised = false;
    std::string text;
    bool standardStringError = false;  // a std::logic_error or std::runtime_error
};

Failure Attempt(const std::function<void()>& operation) {
    Failure failure;
    try {
        operation();
    } catch (const std::logic_error& error) {
        failure = {true, error.what(), true};
    } catch (const std::runtime_error& error) {
        failure = {true, error.what(), true};
    } catch (const std::exception& error) {
        failure = {true, error.what(), false};
    }
    return failure;
}

// Sizes the compiler cannot see through, so that the calls are really made.
size_t Opaque(size_t value) {
    volatile size_t kept = value;
    return kept;
}

TEST(StdThrowHelpers, CarryTheLibrarysTextsInTheProgramsOwnReport) {
    struct Case {
        const char* name;
        std::function<void()> operation;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"substr past the end", [] { (void)std::string("ab").substr(Opaque(5)); },
         "basic_string::substr: __pos (which is 5) > this->size() (which is 2)"},
        {"vector at past the end", [] { (void)std::vector<int>(2).at(Opaque(3)); },
         "vector::_M_range_check: __n (which is 3) >= this->size() (which is 2)"},
        {"string at past the end", [] { (void)std::string("ab").at(Opaque(7)); },
         "basic_string::at: __n (which is 7) >= this->size() (which is 2)"},
        {"erase past the end", [] { std::string("ab").erase(Opaque(9), 1); },
         "basic_string::erase: __pos (which is 9) > this->size() (which is 2)"},
        {"a large position", [] { (void)std::string("ab").substr(Opaque(4294967295u)); },
         "basic_string::substr: __pos (which is 4294967295) > this->size() (which is 2)"},
        {"string from null", [] { std::string text(reinterpret_cast<const char*>(Opaque(0))); },
         "basic_string: construction from null is not valid"},
        {"vector reserve past its maximum",
         [] {
             std::vector<int> v;
             v.reserve(Opaque(v.max_size() + 1));
         },
         "vector::reserve"},
        {"string reserve past its maximum",
         [] {
             std::string s;
             s.reserve(Opaque(s.max_size() + 1));
         },
         "basic_string::_M_create"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Failure failure = Attempt(c.operation);
        EXPECT_TRUE(failure.raised);
        EXPECT_EQ(failure.text, c.text);
        EXPECT_FALSE(failure.standardStringError);
    }
}

TEST(StdThrowHelpers, AFormatLongerThanTheReportIsCutNotOverrun) {
    const std::string pattern = std::string(400, 'x') + " %zu";
    const Failure failure = Attempt([&] { std::__throw_out_of_range_fmt(pattern.c_str(), size_t{7}); });
    ASSERT_TRUE(failure.raised);
    EXPECT_EQ(failure.text, std::string(255, 'x'));
}

TEST(StdThrowHelpers, OtherPercentSignsStandAsTheyAre) {
    // Not a literal: the compiler would check it as a printf pattern.
    const std::string pattern = "%zu%% of %s, %d";
    const Failure failure = Attempt([&] { std::__throw_out_of_range_fmt(pattern.c_str(), size_t{50}, "all"); });
    EXPECT_EQ(failure.text, "50% of all, %d");
}

TEST(StdThrowHelpers, AllocationFailuresKeepTheirStandardTypes) {
    bool badArrayLength = false;
    try {
        int* p = new int[Opaque(~size_t{0} / 2)];
        delete[] p;
    } catch (const std::bad_array_new_length&) {
        badArrayLength = true;
    }
    EXPECT_TRUE(badArrayLength);

    bool badAlloc = false;
    try {
        std::__throw_bad_alloc();
    } catch (const std::bad_alloc&) {
        badAlloc = true;
    }
    EXPECT_TRUE(badAlloc);
}

}  // namespace
