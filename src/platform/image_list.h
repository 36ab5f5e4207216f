#pragma once
// A list of same-sized icon images (the frames of the tray animation). Icons
// added are copied in, scaled to the list's size; icons taken out are new
// copies the caller owns.
#include <windows.h>

#include <functional>

#include "platform/handles.h"
#include "platform/portable/destroy_notifier.h"

namespace kestrin {

class IconPicture;

class ImageList {
public:
    explicit ImageList(int width = 16, int height = 16);
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    // Appends a copy of the icon; returns its index, or -1 when the list refused it.
    int AddIcon(HICON icon);
    int Count() const;
    void Clear();

    // A new icon made from image `index`; empty for an index out of range.
    IconHandle CopyIcon(int index) const;
    // The same into a picture (which fires its change notice). False, and
    // the picture untouched, for an index out of range.
    bool CopyIcon(int index, IconPicture& into) const;

    HIMAGELIST Handle() const noexcept { return list_.get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

    // Observers are told when the list is being destroyed.
    DestroyNotifier::Token AddDestroyObserver(std::function<void()> observer) {
        return destroyNotifier_.Add(std::move(observer));
    }
    void RemoveDestroyObserver(DestroyNotifier::Token token) { destroyNotifier_.Remove(token); }

private:
    int width_;
    int height_;
    ImageListHandle list_;
    DestroyNotifier destroyNotifier_;
};

}  // namespace kestrin
