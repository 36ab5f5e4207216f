#include "support/screenshot.h"

#include <fstream>
#include <set>

#include "win32/handles.h"
#include "support/wine_paths.h"

namespace kestrin::test {

Capture CaptureScreen(const RECT& area) {
    Capture capture;
    capture.width = area.right - area.left;
    capture.height = area.bottom - area.top;
    if (capture.width <= 0 || capture.height <= 0) return {};
    WindowDC screen(nullptr);
    UniqueHandle<NullHandleTraits<HDC, DeleteDC>> memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return {};
    {
        SelectGuard select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, capture.width, capture.height, screen.get(), area.left, area.top, SRCCOPY);
        GdiFlush();
    }
    const auto* src = static_cast<const uint32_t*>(bits);
    capture.pixels.assign(src, src + static_cast<size_t>(capture.width) * capture.height);
    for (uint32_t& p : capture.pixels) p &= 0x00FFFFFF;
    return capture;
}

Capture CaptureScreen() {
    RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CaptureScreen(all);
}

std::string SaveArtifact(const Capture& capture, const std::string& name) {
    std::string path = ArtifactDir() + "\\" + name + ".bmp";
    const int rowBytes = (capture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER head{};
    head.biSize = sizeof head;
    head.biWidth = capture.width;
    head.biHeight = capture.height;  // bottom-up
    head.biPlanes = 1;
    head.biBitCount = 24;
    head.biSizeImage = static_cast<DWORD>(rowBytes * capture.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof head;
    file.bfSize = file.bfOffBits + head.biSizeImage;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&head), sizeof head);
    std::string row(static_cast<size_t>(rowBytes), '\0');
    for (int y = capture.height - 1; y >= 0; --y) {
        for (int x = 0; x < capture.width; ++x) {
            uint32_t p = capture.At(x, y);
            row[x * 3 + 0] = static_cast<char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
        }
        out.write(row.data(), rowBytes);
    }
    return path;
}

size_t DistinctColours(const Capture& capture) {
    return std::set<uint32_t>(capture.pixels.begin(), capture.pixels.end()).size();
}

size_t PixelsUnlike(const Capture& capture, uint32_t background) {
    size_t n = 0;
    for (uint32_t p : capture.pixels) n += (p != background);
    return n;
}

}  // namespace kestrin::test
