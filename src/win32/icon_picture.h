#pragma once
// An icon the program owns (its own copy, destroyed with the picture), with
// a notice after every change so that whoever shows it can follow.
#include <windows.h>

#include <functional>

#include "win32/handles.h"

namespace kestrin {

// The program's own copy of an icon (none for none); throws when the system
// cannot make one.
IconHandle Duplicate(HICON icon);

class IconPicture {
public:
    IconPicture() = default;
    IconPicture(const IconPicture&) = delete;
    IconPicture& operator=(const IconPicture&) = delete;

    // nullptr while the picture is empty.
    HICON Handle() const noexcept { return icon_.get(); }
    bool Empty() const noexcept { return !icon_; }
    // Size of the icon's image; 0 x 0 when empty.
    SIZE Size() const;

    // Each of these replaces the picture and then fires the change notice,
    // also when the result is empty (copying an empty picture clears).
    void Assign(const IconPicture& other);
    void AssignCopy(HICON icon);
    void Clear();
    // Takes an icon this picture is to own from now on.
    void Adopt(IconHandle icon);
    // Gives the icon up to the caller, leaving the picture empty (no notice:
    // the picture is on its way out).
    IconHandle Release() noexcept { return std::move(icon_); }

    // Loads an icon resource at the given size (LoadImageA, not shared).
    // On failure the picture is left as it was, no notice fires, and the
    // result is false.
    bool LoadResource(HINSTANCE instance, const char* name, int size = 32);

    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    void Changed();

    IconHandle icon_;
    std::function<void()> onChange_;
};

}  // namespace kestrin
