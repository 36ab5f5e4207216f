#pragma once
// The common controls library (comctl32), loaded only while something holds
// it: a dialog's buttons, edits and hot-key entry, a tool tip, the
// animation's image list, a message box. Loaded once at start it would keep
// some twenty GDI objects, five icons and about 3 MB for the whole run of a
// program that sits idle in the tray.
//
// Every window of a common-control class (with the program's manifest that
// includes BUTTON and EDIT) must be made and destroyed while a hold exists:
// the library goes when the last hold is released.
#include <windows.h>
#include <commctrl.h>

#include "win32/handles.h"

namespace kestrin {

// The functions of comctl32 the program uses, valid while a hold exists.
struct CommonControlsApi {
    decltype(&::ImageList_Create) ImageList_Create = nullptr;
    decltype(&::ImageList_Destroy) ImageList_Destroy = nullptr;
    decltype(&::ImageList_GetIcon) ImageList_GetIcon = nullptr;
    decltype(&::ImageList_ReplaceIcon) ImageList_ReplaceIcon = nullptr;
    // Declared as throwing nothing, which they do not: the binding calls
    // them for every message, and needs no unwind tables for them then.
    BOOL(WINAPI* SetWindowSubclass)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR) noexcept = nullptr;
    BOOL(WINAPI* GetWindowSubclass)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*) noexcept = nullptr;  // SubclassData
    BOOL(WINAPI* RemoveWindowSubclass)(HWND, SUBCLASSPROC, UINT_PTR) noexcept = nullptr;
    LRESULT(WINAPI* DefSubclassProc)(HWND, UINT, WPARAM, LPARAM) noexcept = nullptr;
};

class CommonControls {
public:
    // Holds nothing.
    CommonControls() noexcept = default;
    // Loads the library on the first hold, with every class the program
    // uses registered. An empty hold when it cannot be loaded (the windows
    // of its classes then fail to be made, which their makers report).
    static CommonControls Hold() noexcept;

    ~CommonControls() { Release(); }
    CommonControls(CommonControls&& other) noexcept;
    CommonControls& operator=(CommonControls&& other) noexcept;
    CommonControls(const CommonControls&) = delete;
    CommonControls& operator=(const CommonControls&) = delete;

    explicit operator bool() const noexcept { return held_; }
    // The functions (only for a hold that is not empty).
    const CommonControlsApi* operator->() const noexcept;

    void Release() noexcept;

    // The reference data of the window's subclass `procedure` (identifier 0),
    // or 0. Asks nothing while the library is not loaded: no window can
    // have a subclass then.
    static DWORD_PTR SubclassData(HWND window, SUBCLASSPROC procedure) noexcept;
    // Frees an image list; only while a hold exists.
    static void DestroyImageList(HIMAGELIST list) noexcept;

private:
    bool held_ = false;
};

// An image list of the library; a hold must outlive it.
using ImageListHandle = UniqueHandle<NullHandleTraits<HIMAGELIST, CommonControls::DestroyImageList>>;

}  // namespace kestrin
