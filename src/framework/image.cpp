#include "framework/image.h"

namespace kestrin {

Image::Image(HWND parent, const Bounds& bounds) : Control(parent) {
    CreateOwn("KestrinImage", {.bounds = bounds});
    picture_.SetOnChange([this] { Invalidate(); });
}

void Image::FillParent() {
    RECT area{};
    if (const Control* owner = FromHandle(Parent()))
        area = owner->ClientArea();
    else
        GetClientRect(Parent(), &area);
    SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

bool Image::LoadIcon(HINSTANCE instance, const char* name, int size) {
    return picture_.LoadResource(instance, name, size);
}

void Image::SetStretch(bool stretch) {
    if (stretch == stretch_) return;
    stretch_ = stretch;
    Invalidate();
}

void Image::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (picture_.Empty()) return;
    if (stretch_) {
        DrawIconEx(dc, 0, 0, picture_.Handle(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
        return;
    }
    const SIZE size = picture_.Size();
    DrawIconEx(dc, (client.right - size.cx) / 2, (client.bottom - size.cy) / 2, picture_.Handle(), size.cx, size.cy,
               0, nullptr, DI_NORMAL);
}

bool Image::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    return HandlePaintMessage(message, wParam, result);
}

}  // namespace kestrin
