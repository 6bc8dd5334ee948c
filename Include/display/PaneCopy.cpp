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
    const layer::State& s = layer::state();
    const auto& d = displayState();
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const long left = std::max<long>(0, long(s.viewLeft) + x1);
    const long top = std::max<long>(0, long(s.viewTop) + y1);
    const long right = std::min<long>(d.paneWidth - 1, long(s.viewLeft) + x2);
    const long bottom = std::min<long>(d.paneHeight - 1, long(s.viewTop) + y2);
    copy.palette = d.palette;
    if (left > right || top > bottom) return copy;
    copy.width = static_cast<int>(right - left + 1);
    copy.height = static_cast<int>(bottom - top + 1);
    copy.pixels.resize(static_cast<std::size_t>(copy.width) * static_cast<std::size_t>(copy.height));
    for (long y = top; y <= bottom; ++y)
        std::memcpy(copy.pixels.data() + static_cast<std::size_t>(y - top) * static_cast<std::size_t>(copy.width),
                    layer::pixelRow(static_cast<int>(y)) + left, static_cast<std::size_t>(copy.width));
    return copy;
}

} // namespace tarnova
