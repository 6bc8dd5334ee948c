#pragma once
// A copy of the pane as a palette image: the palette entries up to the highest index used.

#include "display/Display.hpp"
#include "paletteImage.hpp"

#include <algorithm>

namespace tarnova {

inline PaletteImage paletteImageOf(const PaneCopy& copy)
{
    PaletteImage image;
    image.width = copy.width;
    image.height = copy.height;
    image.pixels = copy.pixels;
    const int used = copy.pixels.empty() ? 1 : *std::max_element(copy.pixels.begin(), copy.pixels.end()) + 1;
    for (int i = 0; i < used; ++i) {
        const std::uint32_t c = copy.palette[static_cast<std::size_t>(i)];   // 0x00BBGGRR
        image.palette.push_back({static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                 static_cast<std::uint8_t>(c >> 16)});
    }
    return image;
}

} // namespace tarnova
