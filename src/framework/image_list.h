#pragma once
// A list of same-sized icon images (the frames of the tray animation). Icons
// added are copied in, scaled to the list's size; icons taken out are new
// copies the caller owns.
//
// Images named by their icon resource are loaded only when the list is
// first used, and Trim() lets the list (and the common controls library
// with it) go again until the next use: a resident program holds its
// animation frames only while it animates.
#include <windows.h>

#include <functional>
#include <mutex>  // std::lock_guard
#include <string>
#include <vector>

#include "win32/common_controls.h"
#include "win32/handles.h"
#include "win32/lock.h"
#include "framework/portable/destroy_notifier.h"

namespace kestrin {

class IconPicture;

class ImageList {
public:
    // Images of the small icon's size (SM_CXSMICON x SM_CYSMICON: 16 x 16 at
    // 96 dpi, 24 x 24 at 144), the size of the tray icon whose frames they are.
    ImageList();
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    // Appends a copy of the icon; returns its index, or -1 when the list refused it.
    int AddIcon(HICON icon);
    // Appends the icon resource `name` of `instance`, loaded at the list's
    // next use; returns its index. The name is kept, not copied: a literal.
    int AddIconResource(HINSTANCE instance, const char* name);
    int Count() const;
    // Lets the loaded images go when every one of them can be loaded again
    // from its resource; the next use loads them anew.
    void Trim();
    // Whether the images are loaded now.
    bool Loaded() const;

    // A new icon made from image `index`; empty for an index out of range
    // or an image that cannot be loaded.
    IconHandle CopyIcon(int index) const;
    // The same into a picture (which fires its change notice). False, and
    // the picture untouched, for an index out of range.
    bool CopyIcon(int index, IconPicture& into) const;

    // Observers are told when the list is being destroyed.
    DestroyNotifier::Token AddDestroyObserver(std::function<void()> observer) {
        return destroyNotifier_.Add(std::move(observer));
    }
    void RemoveDestroyObserver(DestroyNotifier::Token token) { destroyNotifier_.Remove(token); }

private:
    struct Source {
        HINSTANCE instance = nullptr;
        const char* name = nullptr;  // none: an icon given by handle, which cannot be loaded again
    };

    // Makes the list with every image of `sources_`; false when it cannot.
    bool LoadLocked() const;
    void DropLocked() const noexcept;

    mutable Lock mutex_;  // the animation worker copies frames out
    std::vector<Source> sources_;
    mutable CommonControls library_;
    mutable ImageListHandle list_;  // after the hold: freed before it goes
    DestroyNotifier destroyNotifier_;
};

}  // namespace kestrin
