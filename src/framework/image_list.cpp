#include "framework/image_list.h"

#include <algorithm>

#include "win32/icon_picture.h"

namespace kestrin {

ImageList::ImageList() = default;

ImageList::~ImageList() {
    destroyNotifier_.Notify();
    std::lock_guard lock(mutex_);
    DropLocked();
}

bool ImageList::LoadLocked() const {
    if (list_) return true;
    CommonControls library = CommonControls::Hold();
    if (!library) return false;
    // 16 colours and a mask: the program's icons are 16-colour pictures,
    // and a 4-bit list keeps their palette colours exactly.
    ImageListHandle list(library->ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   ILC_COLOR4 | ILC_MASK, 0, 4));
    if (!list) return false;
    for (const Source& source : sources_) {
        // The icon at its system size, as LoadIcon gives it, scaled by the list.
        IconHandle icon(source.name ? static_cast<HICON>(LoadImageA(source.instance, source.name, IMAGE_ICON, 0, 0,
                                                                    LR_DEFAULTSIZE))
                                    : nullptr);
        if (!icon || library->ImageList_ReplaceIcon(list.get(), -1, icon.get()) < 0) return false;
    }
    list_ = std::move(list);
    library_ = std::move(library);
    return true;
}

void ImageList::DropLocked() const noexcept {
    list_.reset();
    library_.Release();
}

int ImageList::AddIcon(HICON icon) {
    if (!icon) return -1;
    std::lock_guard lock(mutex_);
    if (!LoadLocked()) return -1;
    const int index = library_->ImageList_ReplaceIcon(list_.get(), -1, icon);
    if (index >= 0) sources_.push_back({});
    return index;
}

int ImageList::AddIconResource(HINSTANCE instance, const char* name) {
    std::lock_guard lock(mutex_);
    // A loaded list takes the image now, so that it stays in step.
    if (list_) {
        IconHandle icon(static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
        if (!icon || library_->ImageList_ReplaceIcon(list_.get(), -1, icon.get()) < 0) return -1;
    }
    sources_.push_back({instance, name});
    return static_cast<int>(sources_.size()) - 1;
}

int ImageList::Count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(sources_.size());
}

void ImageList::Trim() {
    std::lock_guard lock(mutex_);
    if (std::all_of(sources_.begin(), sources_.end(), [](const Source& s) { return s.name != nullptr; })) DropLocked();
}

bool ImageList::Loaded() const {
    std::lock_guard lock(mutex_);
    return static_cast<bool>(list_);
}

IconHandle ImageList::CopyIcon(int index) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(sources_.size()) || !LoadLocked()) return {};
    return IconHandle(library_->ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

bool ImageList::CopyIcon(int index, IconPicture& into) const {
    IconHandle icon = CopyIcon(index);
    if (!icon) return false;
    into.Adopt(std::move(icon));
    return true;
}

}  // namespace kestrin
