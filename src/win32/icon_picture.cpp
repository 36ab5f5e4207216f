#include "win32/icon_picture.h"

#include "win32/portable/error.h"

namespace kestrin {

IconHandle Duplicate(HICON icon) {
    if (!icon) return {};
    IconHandle copy(CopyIcon(icon));
    if (!copy) throw KestrinError("アイコンを複製できません。", GetLastError());
    return copy;
}

SIZE IconPicture::Size() const {
    SIZE size{0, 0};
    if (!icon_) return size;
    ICONINFO info{};
    if (!GetIconInfo(icon_.get(), &info)) return size;
    BitmapHandle mask(info.hbmMask);
    BitmapHandle color(info.hbmColor);
    BITMAP bitmap{};
    if (GetObjectA(mask.get(), sizeof bitmap, &bitmap)) {
        size.cx = bitmap.bmWidth;
        // A monochrome icon keeps its AND and XOR masks one above the other.
        size.cy = color ? bitmap.bmHeight : bitmap.bmHeight / 2;
    }
    return size;
}

void IconPicture::Assign(const IconPicture& other) {
    if (&other == this) {
        Changed();
        return;
    }
    AssignCopy(other.Handle());
}

void IconPicture::AssignCopy(HICON icon) {
    IconHandle copy = Duplicate(icon);
    icon_ = std::move(copy);
    Changed();
}

void IconPicture::Clear() {
    icon_.reset();
    Changed();
}

void IconPicture::Adopt(IconHandle icon) {
    icon_ = std::move(icon);
    Changed();
}

bool IconPicture::LoadResource(HINSTANCE instance, const char* name, int size) {
    IconHandle loaded(static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, size, size, 0)));
    if (!loaded) return false;
    icon_ = std::move(loaded);
    Changed();
    return true;
}

void IconPicture::Changed() {
    if (onChange_) onChange_();
}

}  // namespace kestrin
