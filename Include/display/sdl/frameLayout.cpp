#include "display/sdl/frameLayout.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

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

std::string fitWithEllipsis(std::string_view text, int maxWidth, const std::function<int(std::string_view)>& width)
{
    if (width(text) <= maxWidth) return std::string(text);
    constexpr std::string_view dots = "...";
    // The longest beginning that fits with the dots: widths grow with the length.
    std::size_t low = 0, high = text.size();
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (width(std::string(text.substr(0, mid)) + std::string(dots)) <= maxWidth)
            low = mid;
        else
            high = mid - 1;
    }
    std::string_view kept = text.substr(0, low);
    while (!kept.empty() && kept.back() == ' ') kept.remove_suffix(1);
    return std::string(kept) + std::string(dots);
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

namespace tarnova::sdl {

PaneView paneView(int outWidth, int outHeight, int paneWidth, int paneHeight, int& scrollX, int& scrollY)
{
    PaneView view;
    Rect area{0, menuBarHeight, std::max(outWidth, 0), std::max(outHeight - menuBarHeight - statusLineHeight, 0)};
    if (area.w >= paneWidth && area.h >= paneHeight) {
        scrollX = scrollY = 0;
        view.shown = paneRect(outWidth, outHeight, paneWidth, paneHeight);
        view.source = {0, 0, paneWidth, paneHeight};
        view.oneToOne = view.shown.w == paneWidth && view.shown.h == paneHeight;
        return view;
    }
    // A bar along one axis takes room from the other, which may then need its own bar.
    bool across = area.w < paneWidth, down = area.h < paneHeight;
    for (int pass = 0; pass < 2; ++pass) {
        across = area.w - (down ? scrollBarThickness : 0) < paneWidth;
        down = area.h - (across ? scrollBarThickness : 0) < paneHeight;
    }
    if (down) area.w = std::max(area.w - scrollBarThickness, 0);
    if (across) area.h = std::max(area.h - scrollBarThickness, 0);
    auto place = [](int areaStart, int areaSize, int paneSize, int& scroll, int& shownStart, int& shownSize,
                    int& sourceStart) {
        if (areaSize >= paneSize) {
            scroll = 0;
            shownStart = areaStart + (areaSize - paneSize) / 2;
            shownSize = paneSize;
            sourceStart = 0;
        } else {
            scroll = std::clamp(scroll, 0, paneSize - areaSize);
            shownStart = areaStart;
            shownSize = areaSize;
            sourceStart = scroll;
        }
    };
    place(area.x, area.w, paneWidth, scrollX, view.shown.x, view.shown.w, view.source.x);
    place(area.y, area.h, paneHeight, scrollY, view.shown.y, view.shown.h, view.source.y);
    view.source.w = view.shown.w;
    view.source.h = view.shown.h;
    view.oneToOne = true;
    if (across) view.horizontalBar = {area.x, area.y + area.h, area.w, scrollBarThickness};
    if (down) view.verticalBar = {area.x + area.w, area.y, scrollBarThickness, area.h};
    return view;
}

Rect scrollThumb(const Rect& bar, bool horizontal, int offset, int shownSize, int paneSize)
{
    const int length = horizontal ? bar.w : bar.h;
    if (paneSize <= 0 || length <= 0) return bar;
    const int thumb = std::max(static_cast<int>(static_cast<long long>(length) * shownSize / paneSize), 8);
    const int room = std::max(length - thumb, 0);
    const int travel = std::max(paneSize - shownSize, 1);
    const int at = static_cast<int>(static_cast<long long>(room) * offset / travel);
    return horizontal ? Rect{bar.x + at, bar.y + 2, std::min(thumb, length), bar.h - 4}
                      : Rect{bar.x + 2, bar.y + at, bar.w - 4, std::min(thumb, length)};
}

} // namespace tarnova::sdl
