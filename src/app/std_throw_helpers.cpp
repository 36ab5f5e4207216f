// The standard library's throw helpers (std::__throw_length_error and its
// kin), for Kestrin.exe: the failure reports of a string or vector asked to
// grow past its maximum, a position out of range, a null pointer for a
// string, a failed allocation.
//
// The library's headers report these by calling std::__throw_length_error
// and its kin. The library's own definitions (one object file, functexcept.o)
// raise std::logic_error and the other standard exceptions whose messages are
// reference-counted strings, and so bring along that whole second string
// implementation with everything it uses: some 80 KB of code and unwind
// tables in a program that never meets any of these reports in its normal
// work. The definitions here raise one small exception that carries the same
// text in a buffer of its own; an error that reaches the top of the message
// loop reads as it did. Allocation failures stay std::bad_alloc and its kin,
// which need no strings.
//
// This file is an object of Kestrin.exe itself, ahead of every library, and
// defines every function of functexcept.o, so the library's file is never
// pulled in. The test programs keep the library's own definitions, except
// the one that checks these (tests/runtime).
#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// The text of a failure, cut to the buffer when it is longer.
class LibraryFailure final : public std::exception {
public:
    static constexpr size_t kCapacity = 256;

    LibraryFailure() noexcept = default;
    explicit LibraryFailure(const char* text) noexcept { Append(text); }

    void Append(const char* text) noexcept {
        while (text && *text && length_ < kCapacity - 1) text_[length_++] = *text++;
        text_[length_] = '\0';
    }
    void Append(char c) noexcept {
        const char one[2] = {c, '\0'};
        Append(one);
    }
    void AppendNumber(size_t value) noexcept {
        char digits[24];
        size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count != 0) Append(digits[--count]);
    }

    const char* what() const noexcept override { return text_; }

private:
    char text_[kCapacity] = {};
    size_t length_ = 0;
};

[[noreturn]] void Raise(const char* text) { throw LibraryFailure(text); }

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }

void __throw_logic_error(const char* text) { Raise(text); }
void __throw_domain_error(const char* text) { Raise(text); }
void __throw_invalid_argument(const char* text) { Raise(text); }
void __throw_length_error(const char* text) { Raise(text); }
void __throw_out_of_range(const char* text) { Raise(text); }
void __throw_runtime_error(const char* text) { Raise(text); }
void __throw_range_error(const char* text) { Raise(text); }
void __throw_overflow_error(const char* text) { Raise(text); }
void __throw_underflow_error(const char* text) { Raise(text); }

// The library's patterns hold only %s, %zu and %%, which are expanded here
// as the library does; any other '%' is copied as it stands.
void __throw_out_of_range_fmt(const char* format, ...) {
    LibraryFailure failure;
    va_list arguments;
    va_start(arguments, format);
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            failure.Append(va_arg(arguments, const char*));
            p += 1;
        } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
            failure.AppendNumber(va_arg(arguments, size_t));
            p += 2;
        } else if (p[0] == '%' && p[1] == '%') {
            failure.Append('%');
            p += 1;
        } else {
            failure.Append(*p);
        }
    }
    va_end(arguments);
    throw failure;
}

}  // namespace std
