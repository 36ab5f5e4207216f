#include "win32/common_controls.h"

#include <mutex>  // std::lock_guard
#include <utility>

#include "win32/lock.h"
#include "win32/system_dlls.h"

namespace kestrin {

namespace {

struct Library {
    Lock mutex;
    int holds = 0;
    SystemLibrary module;
    CommonControlsApi api;
};

// Constant-initialised, so that the first hold may come from any thread (the
// animation worker loads its frames) with no initialisation to race.
constinit Library library;

Library& State() { return library; }

bool Load(Library& library) noexcept {
    SystemLibrary module("comctl32.dll");
    CommonControlsApi api;
    api.ImageList_Create = module.Find<decltype(api.ImageList_Create)>("ImageList_Create");
    api.ImageList_Destroy = module.Find<decltype(api.ImageList_Destroy)>("ImageList_Destroy");
    api.ImageList_GetIcon = module.Find<decltype(api.ImageList_GetIcon)>("ImageList_GetIcon");
    api.ImageList_ReplaceIcon = module.Find<decltype(api.ImageList_ReplaceIcon)>("ImageList_ReplaceIcon");
    // By ordinal: comctl32 before version 6 exports the subclass functions by no name.
    api.SetWindowSubclass = module.Find<decltype(api.SetWindowSubclass)>(MAKEINTRESOURCEA(410));
    api.GetWindowSubclass = module.Find<decltype(api.GetWindowSubclass)>(MAKEINTRESOURCEA(411));
    api.RemoveWindowSubclass = module.Find<decltype(api.RemoveWindowSubclass)>(MAKEINTRESOURCEA(412));
    api.DefSubclassProc = module.Find<decltype(api.DefSubclassProc)>(MAKEINTRESOURCEA(413));
    const auto initialize = module.Find<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx");
    if (!initialize || !api.ImageList_Create || !api.ImageList_Destroy || !api.ImageList_GetIcon ||
        !api.ImageList_ReplaceIcon || !api.SetWindowSubclass || !api.GetWindowSubclass || !api.RemoveWindowSubclass || !api.DefSubclassProc)
        return false;
    // The hot-key entry and the tool tip; every load registers them anew,
    // since an unload takes the classes with it.
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    if (!initialize(&classes)) return false;
    library.module = std::move(module);
    library.api = api;
    return true;
}

}  // namespace

CommonControls CommonControls::Hold() noexcept {
    Library& library = State();
    std::lock_guard lock(library.mutex);
    CommonControls hold;
    if (library.holds == 0 && !Load(library)) return hold;
    ++library.holds;
    hold.held_ = true;
    return hold;
}

CommonControls::CommonControls(CommonControls&& other) noexcept : held_(std::exchange(other.held_, false)) {}

CommonControls& CommonControls::operator=(CommonControls&& other) noexcept {
    if (this != &other) {
        Release();
        held_ = std::exchange(other.held_, false);
    }
    return *this;
}

const CommonControlsApi* CommonControls::operator->() const noexcept { return &State().api; }

void CommonControls::Release() noexcept {
    if (!std::exchange(held_, false)) return;
    Library& library = State();
    std::lock_guard lock(library.mutex);
    if (--library.holds > 0) return;
    library.api = {};
    library.module.reset();
}

DWORD_PTR CommonControls::SubclassData(HWND window, SUBCLASSPROC procedure) noexcept {
    Library& library = State();
    // Under the lock, so that no other thread unloads the library meanwhile.
    std::lock_guard lock(library.mutex);
    DWORD_PTR data = 0;
    return library.module && library.api.GetWindowSubclass(window, procedure, 0, &data) ? data : 0;
}

void CommonControls::DestroyImageList(HIMAGELIST list) noexcept { State().api.ImageList_Destroy(list); }

}  // namespace kestrin
