#include "support/test_icons.h"

namespace kestrin::test {

namespace {

BitmapHandle MakeDib(int size, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDC screen(nullptr);
    return BitmapHandle(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

IconHandle MakeSplitIcon(int size, COLORREF left, COLORREF right) {
    void* bits = nullptr;
    BitmapHandle color = MakeDib(size, &bits);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels[y * size + x] = PixelOf(x < size / 2 ? left : right);
    // An all-zero AND mask: every pixel opaque.
    std::vector<unsigned char> maskBits(static_cast<size_t>((size + 15) / 16 * 2 * size), 0);
    BitmapHandle mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
    return IconHandle(CreateIconIndirect(&info));
}

IconHandle MakeSolidIcon(int size, COLORREF color) { return MakeSplitIcon(size, color, color); }

std::vector<uint32_t> RenderIcon(HICON icon, int size, COLORREF background) {
    void* bits = nullptr;
    BitmapHandle target = MakeDib(size, &bits);
    WindowDC screen(nullptr);
    UniqueHandle<NullHandleTraits<HDC, DeleteDC>> memory(CreateCompatibleDC(screen.get()));
    {
        SelectGuard select(memory.get(), target.get());
        BrushHandle brush(CreateSolidBrush(background));
        RECT all{0, 0, size, size};
        FillRect(memory.get(), &all, brush.get());
        DrawIconEx(memory.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
    }
    const auto* pixels = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> result(pixels, pixels + static_cast<size_t>(size) * size);
    for (uint32_t& p : result) p &= 0x00FFFFFF;
    return result;
}

}  // namespace kestrin::test
