#include "platform/image_list.h"

#include <commctrl.h>

#include "platform/icon_picture.h"
#include "platform/portable/error.h"

namespace kestrin {

ImageList::ImageList(int width, int height)
    : width_(width),
      height_(height),
      // 16 colours and a mask: the program's icons are 16-colour pictures,
      // and a 4-bit list keeps their palette colours exactly.
      list_(ImageList_Create(width, height, ILC_COLOR4 | ILC_MASK, 0, 4)) {
    if (!list_) throw KestrinError("イメージリストを作成できません。");
}

ImageList::~ImageList() { destroyNotifier_.Notify(); }

int ImageList::AddIcon(HICON icon) {
    if (!icon) return -1;
    return ImageList_AddIcon(list_.get(), icon);
}

int ImageList::Count() const { return ImageList_GetImageCount(list_.get()); }

void ImageList::Clear() { ImageList_Remove(list_.get(), -1); }

IconHandle ImageList::CopyIcon(int index) const {
    if (index < 0 || index >= Count()) return {};
    return IconHandle(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

bool ImageList::CopyIcon(int index, IconPicture& into) const {
    IconHandle icon = CopyIcon(index);
    if (!icon) return false;
    into.Adopt(std::move(icon));
    return true;
}

}  // namespace kestrin
