// A copy of a rectangle of the pane with its palette, for image files in other formats.

#include "display/Layer.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tarnova {

PaneCopy copyPane(int x1, int y1, int x2, int y2)
{
    PaneCopy copy;
    auto guard = layer::lock();
    copy.palette = displayState().palette;
    const layer::PaneRectangle r = layer::viewportRectangle(x1, y1, x2, y2);
    if (r.empty()) return copy;
    copy.width = static_cast<int>(r.right - r.left + 1);
    copy.height = static_cast<int>(r.bottom - r.top + 1);
    copy.pixels.resize(static_cast<std::size_t>(copy.width) * static_cast<std::size_t>(copy.height));
    for (long y = r.top; y <= r.bottom; ++y)
        std::memcpy(copy.pixels.data() + static_cast<std::size_t>(y - r.top) * static_cast<std::size_t>(copy.width),
                    layer::pixelRow(static_cast<int>(y)) + r.left, static_cast<std::size_t>(copy.width));
    return copy;
}

} // namespace tarnova
