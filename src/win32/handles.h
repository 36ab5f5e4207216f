#pragma once
// Move-only owners for every kind of Windows handle the program keeps.
// One template, the release function as a traits parameter; reset() keeps
// the thread's last-error value intact so that a failure path can still report it.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <utility>

namespace kestrin {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type value) noexcept : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::IsValid(value_); }

    Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    void reset(Type value = Traits::Invalid()) noexcept {
        Type old = std::exchange(value_, value);
        if (Traits::IsValid(old)) {
            DWORD error = GetLastError();
            Traits::Close(old);
            SetLastError(error);
        }
    }

    // For APIs that return the handle through an out parameter.
    Type* put() noexcept {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::Invalid();
};

template <typename T, auto CloseFn>
struct NullHandleTraits {
    using Type = T;
    static constexpr T Invalid() noexcept { return nullptr; }
    static bool IsValid(T h) noexcept { return h != nullptr; }
    static void Close(T h) noexcept { CloseFn(h); }
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE Invalid() noexcept { return nullptr; }
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};

inline void DeleteGdiObject(HGDIOBJ h) noexcept { DeleteObject(h); }
inline void DestroyWindowHandle(HWND h) noexcept { DestroyWindow(h); }
inline void FreeGlobalMemory(HGLOBAL h) noexcept { GlobalFree(h); }
inline void FreeLoadedLibrary(HMODULE h) noexcept { FreeLibrary(h); }

struct AtomTraits {
    using Type = ATOM;
    static constexpr ATOM Invalid() noexcept { return 0; }
    static bool IsValid(ATOM a) noexcept { return a != 0; }
    static void Close(ATOM a) noexcept { GlobalDeleteAtom(a); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using IconHandle = UniqueHandle<NullHandleTraits<HICON, DestroyIcon>>;
using MenuHandle = UniqueHandle<NullHandleTraits<HMENU, DestroyMenu>>;
using FontHandle = UniqueHandle<NullHandleTraits<HFONT, DeleteGdiObject>>;
using BrushHandle = UniqueHandle<NullHandleTraits<HBRUSH, DeleteGdiObject>>;
using BitmapHandle = UniqueHandle<NullHandleTraits<HBITMAP, DeleteGdiObject>>;
using WindowHandle = UniqueHandle<NullHandleTraits<HWND, DestroyWindowHandle>>;
using GlobalAtom = UniqueHandle<AtomTraits>;
// Movable global memory (clipboard data until the clipboard takes it over).
using GlobalMemory = UniqueHandle<NullHandleTraits<HGLOBAL, FreeGlobalMemory>>;
// A library loaded with LoadLibrary.
using ModuleHandle = UniqueHandle<NullHandleTraits<HMODULE, FreeLoadedLibrary>>;

// GetDC / ReleaseDC pair.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// SelectObject with the previous object put back at scope end.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Owning COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }
    T** put() noexcept {
        reset();
        return &ptr_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (ptr_) std::exchange(ptr_, nullptr)->Release();
    }

private:
    T* ptr_ = nullptr;
};

}  // namespace kestrin
