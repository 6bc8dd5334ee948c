// Bitmap files: a rectangle of the pane as an 8-bit palette BMP.

#include "display/Layer.hpp"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace tarnova {

namespace {
void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
} // namespace

int saveImage(std::string_view fileName, int x1, int y1, int x2, int y2)
{
    std::vector<std::uint8_t> file;
    {
        auto guard = layer::lock();
        const auto& d = displayState();
        // Integer coordinates are relative to the viewport; the rectangle is cut to the pane.
        const layer::PaneRectangle r = layer::viewportRectangle(x1, y1, x2, y2);
        if (r.empty()) return 1;
        const auto width = static_cast<std::uint32_t>(r.right - r.left + 1);
        const auto height = static_cast<std::uint32_t>(r.bottom - r.top + 1);
        const std::uint32_t stride = (width + 3) & ~3u;
        const std::uint32_t paletteBytes = 256 * 4;
        const std::uint32_t offset = 14 + 40 + paletteBytes;
        const std::uint32_t imageBytes = stride * height;
        file.reserve(offset + imageBytes);
        // File header.
        file.push_back('B');
        file.push_back('M');
        put32(file, offset + imageBytes);
        put32(file, 0);
        put32(file, offset);
        // Information header: bottom-up rows, 8 bits per pixel, no compression, 96 dpi.
        put32(file, 40);
        put32(file, width);
        put32(file, height);
        put16(file, 1);
        put16(file, 8);
        put32(file, 0);
        put32(file, imageBytes);
        put32(file, 3780);
        put32(file, 3780);
        put32(file, 256);
        put32(file, 0);
        // Palette entries are blue, green, red, 0.
        for (std::uint32_t c : d.palette) {
            file.push_back(static_cast<std::uint8_t>(c >> 16));
            file.push_back(static_cast<std::uint8_t>(c >> 8));
            file.push_back(static_cast<std::uint8_t>(c));
            file.push_back(0);
        }
        for (long y = r.bottom; y >= r.top; --y) {
            const std::uint8_t* row = layer::pixelRow(static_cast<int>(y));
            file.insert(file.end(), row + r.left, row + r.right + 1);
            file.insert(file.end(), stride - width, 0);
        }
    }
    // The file is written after the lock is released; the name's trailing blanks are not part
    // of it.
    std::string name(fileName);
    name.erase(name.find_last_not_of(' ') + 1);
    if (name.empty()) return 1;
    // Written beside the target and renamed over it, so a failed save leaves no half file.
    const std::string partial = name + ".part";
    std::FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f) return 1;
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(partial.c_str(), name.c_str()) != 0) {
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}

} // namespace tarnova
