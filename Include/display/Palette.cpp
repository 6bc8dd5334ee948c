// The palette: sixteen standard colours until a program hands over its own table.

#include "display/Layer.hpp"

#include <algorithm>

namespace tarnova {

namespace {
// 0x00BBGGRR: black, dark blue, dark green, dark cyan, dark red, dark magenta, dark yellow,
// light grey, dark grey, blue, green, cyan, red, magenta, yellow, white.
constexpr std::uint32_t standardColours[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
// A display offering this many colours or fewer keeps the standard ones.
constexpr int minimumColoursForTable = 21;
} // namespace

namespace layer {
void loadStandardPalette()
{
    auto& palette = displayState().palette;
    palette.fill(0);
    std::copy(std::begin(standardColours), std::end(standardColours), palette.begin());
}
} // namespace layer

int setPalette(const std::uint32_t* colours, int count)
{
    auto guard = layer::lock();
    const layer::State& s = layer::state();
    if (s.colourCount < minimumColoursForTable) return -1;
    if (!colours || count <= 0) return -1;
    count = std::min(count, 256);
    auto& palette = displayState().palette;
    for (int i = 0; i < count; ++i) palette[static_cast<std::size_t>(i)] = colours[i] & 0x00FFFFFFu;
    layer::changed();
    return 0;
}

} // namespace tarnova
