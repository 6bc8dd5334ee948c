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

namespace {

// Source span [begin, end) of each target pixel along one axis, never empty.
struct Span {
    int begin = 0;
    int end = 0;
};
std::vector<Span> blockSpans(int source, int target)
{
    std::vector<Span> spans(static_cast<std::size_t>(target));
    for (int t = 0; t < target; ++t) {
        const int begin = static_cast<int>(static_cast<long long>(t) * source / target);
        const int end = static_cast<int>(static_cast<long long>(t + 1) * source / target);
        spans[static_cast<std::size_t>(t)] = {std::min(begin, source - 1), std::max(end, std::min(begin, source - 1) + 1)};
    }
    return spans;
}

} // namespace

void shrinkKeepingLines(const std::uint8_t* source, int sourceWidth, int sourceHeight, std::uint8_t* target,
                        int targetWidth, int targetHeight)
{
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return;
    const std::vector<Span> columns = blockSpans(sourceWidth, targetWidth);
    const std::vector<Span> rows = blockSpans(sourceHeight, targetHeight);
    std::array<int, 256> counts{};
    for (int ty = 0; ty < targetHeight; ++ty) {
        const Span& row = rows[static_cast<std::size_t>(ty)];
        const int nearTop = rows[static_cast<std::size_t>(std::max(ty - 1, 0))].begin;
        const int nearBottom = rows[static_cast<std::size_t>(std::min(ty + 1, targetHeight - 1))].end;
        for (int tx = 0; tx < targetWidth; ++tx) {
            const Span& column = columns[static_cast<std::size_t>(tx)];
            const std::uint8_t* first = source + static_cast<std::size_t>(row.begin) * sourceWidth;
            std::uint8_t* out = target + static_cast<std::size_t>(ty) * targetWidth + tx;
            // The common case, a block of one colour, needs no counting.
            bool uniform = true;
            const std::uint8_t ground = first[column.begin];
            for (int y = row.begin; y < row.end && uniform; ++y) {
                const std::uint8_t* line = source + static_cast<std::size_t>(y) * sourceWidth;
                for (int x = column.begin; x < column.end; ++x)
                    if (line[x] != ground) {
                        uniform = false;
                        break;
                    }
            }
            if (uniform) {
                *out = ground;
                continue;
            }
            const int nearLeft = columns[static_cast<std::size_t>(std::max(tx - 1, 0))].begin;
            const int nearRight = columns[static_cast<std::size_t>(std::min(tx + 1, targetWidth - 1))].end;
            for (int y = nearTop; y < nearBottom; ++y) {
                const std::uint8_t* line = source + static_cast<std::size_t>(y) * sourceWidth;
                for (int x = nearLeft; x < nearRight; ++x) ++counts[line[x]];
            }
            int best = -1;
            for (int y = row.begin; y < row.end; ++y) {
                const std::uint8_t* line = source + static_cast<std::size_t>(y) * sourceWidth;
                for (int x = column.begin; x < column.end; ++x) {
                    const int c = line[x];
                    if (best < 0 || counts[c] < counts[best] || (counts[c] == counts[best] && c < best)) best = c;
                }
            }
            *out = static_cast<std::uint8_t>(best);
            for (int y = nearTop; y < nearBottom; ++y) {
                const std::uint8_t* line = source + static_cast<std::size_t>(y) * sourceWidth;
                for (int x = nearLeft; x < nearRight; ++x) counts[line[x]] = 0;
            }
        }
    }
}

} // namespace tarnova::sdl
