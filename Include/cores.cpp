// The colour table and its loading into the display layer.

#include "cores.hpp"

#include "display/Display.hpp"

namespace tarnova {

namespace {
constexpr std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red | (green << 8) | (blue << 16);
}

constexpr std::array<std::uint32_t, colourTableSize> table = {
    // 0-15: the standard colours.
    rgb(0, 0, 0), rgb(0, 0, 128), rgb(0, 128, 0), rgb(0, 128, 128),
    rgb(128, 0, 0), rgb(128, 0, 128), rgb(128, 128, 0), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(0, 0, 255), rgb(0, 255, 0), rgb(0, 255, 255),
    rgb(255, 0, 0), rgb(255, 0, 255), rgb(255, 255, 0), rgb(255, 255, 255),
    // 16-30: red through yellow, green, cyan and blue to violet.
    rgb(255, 0, 0), rgb(255, 102, 0), rgb(255, 136, 0), rgb(255, 204, 0),
    rgb(255, 255, 0), rgb(204, 255, 0), rgb(136, 255, 0), rgb(0, 255, 0),
    rgb(0, 200, 0), rgb(0, 128, 0), rgb(0, 255, 255), rgb(0, 136, 255),
    rgb(0, 68, 255), rgb(0, 0, 255), rgb(136, 0, 255),
    // 31-38: grey ramp from black to light grey.
    rgb(0, 0, 0), rgb(51, 51, 51), rgb(85, 85, 85), rgb(112, 112, 112),
    rgb(128, 128, 128), rgb(144, 144, 144), rgb(176, 176, 176), rgb(224, 224, 224),
};
} // namespace

const std::array<std::uint32_t, colourTableSize>& colourTable() { return table; }

int loadPalette() { return setPalette(table.data(), colourTableSize); }

} // namespace tarnova
