#pragma once
// Screenshots kept as test artifacts, and the pixels for checks.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::test {

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down rows
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A rectangle of the screen (the virtual desktop) as it is shown now.
Capture CaptureScreen(const RECT& area);
Capture CaptureScreen();

// Writes a 24-bit BMP into the artifact folder; returns the full path.
std::string SaveArtifact(const Capture& capture, const std::string& name);

// Number of distinct colours, and pixels unlike the given background.
size_t DistinctColours(const Capture& capture);
size_t PixelsUnlike(const Capture& capture, uint32_t background);

}  // namespace kestrin::test
