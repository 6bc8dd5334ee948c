#include "display/sdl/frameLayout.hpp"

#include <algorithm>
#include <cctype>

namespace tarnova::sdl {

Rect paneRect(int outWidth, int outHeight, int paneWidth, int paneHeight)
{
    const Rect area{0, menuBarHeight, outWidth, outHeight - menuBarHeight - statusLineHeight};
    if (area.w <= 0 || area.h <= 0 || paneWidth <= 0 || paneHeight <= 0) return {0, menuBarHeight, 0, 0};
    if (area.w == paneWidth && area.h == paneHeight) return {0, menuBarHeight, paneWidth, paneHeight};
    // Fit by the tighter of the two ratios, compared exactly in integers.
    int w = area.w;
    int h = area.h;
    if (static_cast<long long>(area.w) * paneHeight > static_cast<long long>(area.h) * paneWidth)
        w = static_cast<int>(static_cast<long long>(area.h) * paneWidth / paneHeight);
    else
        h = static_cast<int>(static_cast<long long>(area.w) * paneHeight / paneWidth);
    w = std::max(w, 1);
    h = std::max(h, 1);
    return {area.x + (area.w - w) / 2, area.y + (area.h - h) / 2, w, h};
}

MenuLabel parseMenuLabel(std::string_view text)
{
    MenuLabel result;
    // The shortcut follows a tab or a run of two blanks.
    std::string_view label = text;
    std::size_t split = text.find('\t');
    std::size_t skip = 1;
    if (split == std::string_view::npos) {
        split = text.find("  ");
        skip = 2;
    }
    if (split != std::string_view::npos) {
        label = text.substr(0, split);
        std::string_view rest = text.substr(split + skip);
        const std::size_t first = rest.find_first_not_of(' ');
        if (first != std::string_view::npos) result.shortcut = rest.substr(first);
    }
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) {
            ++i;
            if (label[i] != '&' && result.accessIndex < 0) {
                result.accessIndex = static_cast<int>(result.label.size());
                result.accessKey = static_cast<char>(std::tolower(static_cast<unsigned char>(label[i])));
            }
        } else if (label[i] == '&') {
            continue;  // a lone "&" at the end shows nothing
        }
        result.label += label[i];
    }
    return result;
}

} // namespace tarnova::sdl
