// Graphic-text fonts: the loaded list (the fonts built in), the option text, matching, and the
// drawing of text in the selected font.

#include "display/Fonts.hpp"
#include "display/BuiltinFonts.hpp"
#include "display/TestHooks.hpp"
#include "display/Layer.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <future>
#include <tuple>

namespace tarnova {

namespace fonts {

namespace {

std::string lowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool sameFace(std::string_view a, std::string_view b) { return lowerCase(a) == lowerCase(b); }

// Old short names of the standard faces.
std::string canonicalFace(std::string_view face)
{
    if (sameFace(face, "Tms Rmn")) return "Times New Roman";
    if (sameFace(face, "Courier")) return "Courier New";
    if (sameFace(face, "Helv")) return "Arial";
    return std::string(face);
}

int readNumber(std::string_view text, std::size_t& i)
{
    long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (value < 100000) value = value * 10 + (text[i] - '0');
        ++i;
    }
    return static_cast<int>(value);
}

struct Selection {
    int index = -1;             // into loadedFonts()
    int height = 0;
    int width = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

Selection& selection()
{
    static Selection s;
    return s;
}

Renderer* selectedRenderer(const layer::State& s)
{
    const Selection& sel = selection();
    const auto& list = loadedFonts();
    if (sel.index < 0 || sel.index >= static_cast<int>(list.size())) return nullptr;
    return renderer(list[static_cast<std::size_t>(sel.index)], sel.height, sel.width, sel.bold, sel.italic,
                    s.textDx, s.textDy);
}

// The stand-ins first, in the order of the faces they replace, then the rest by name.
int familyRank(const std::string& family)
{
    static const char* const first[] = {"Liberation Sans", "Liberation Serif", "Liberation Mono"};
    for (int i = 0; i < 3; ++i)
        if (family == first[i]) return i;
    return 3;
}

} // namespace

FontRequest parseFontOptions(std::string_view options)
{
    FontRequest r;
    std::size_t i = 0;
    while (i < options.size()) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(options[i++])));
        switch (c) {
        case 't': {
            if (i >= options.size() || options[i] != '\'') {
                r.valid = false;
                return r;
            }
            const std::size_t close = options.find('\'', i + 1);
            if (close == std::string_view::npos || close - (i + 1) > maxFaceName) {
                r.valid = false;
                return r;
            }
            r.face = canonicalFace(options.substr(i + 1, close - (i + 1)));
            i = close + 1;
            break;
        }
        case 'h': r.height = readNumber(options, i); break;
        case 'w': r.width = readNumber(options, i); break;
        case 'f': r.pitch = 1; break;
        case 'p': r.pitch = 2; break;
        case 'r': r.kind = 1; break;
        case 'v': r.kind = 2; break;
        case 'i': r.italic = true; break;
        case 'u': r.underline = true; break;
        case 'e': r.bold = true; break;
        case 'b': r.bestFit = true; break;
        case 'n': r.number = readNumber(options, i); return r;
        default: break;
        }
    }
    return r;
}

std::string standInFace(std::string_view face)
{
    if (sameFace(face, "Arial")) return "Liberation Sans";
    if (sameFace(face, "Times New Roman")) return "Liberation Serif";
    if (sameFace(face, "Courier New")) return "Liberation Mono";
    return {};
}

std::vector<FontFace>& loadedFonts()
{
    static std::vector<FontFace> list;
    return list;
}

Match matchFont(const std::vector<FontFace>& fonts, const FontRequest& request)
{
    Match none;
    if (!request.valid) return none;
    const int height = request.height > 0 ? request.height : 16;
    if (request.number > 0) {
        if (request.number > static_cast<int>(fonts.size())) return none;
        return {request.number - 1, height, request.width};
    }
    // The face by its own name first, then by its stand-in.
    std::vector<std::string> names;
    if (!request.face.empty()) {
        names.push_back(request.face);
        const std::string standIn = standInFace(request.face);
        if (!standIn.empty()) names.push_back(standIn);
    } else {
        names.emplace_back();
    }
    for (const std::string& name : names) {
        int bestIndex = -1;
        int bestHeight = 0, bestWidth = 0, bestDiff = 200;
        for (std::size_t i = 0; i < fonts.size(); ++i) {
            const FontFace& f = fonts[i];
            if (!name.empty() && !sameFace(f.family, name)) continue;
            if (request.pitch == 1 && !f.fixedPitch) continue;
            if (request.pitch == 2 && f.fixedPitch) continue;
            if (request.kind == 1 && f.scalable) continue;
            if (request.kind == 2 && !f.scalable) continue;
            if (f.scalable) return {static_cast<int>(i), height, request.width};
            for (const auto& [h, w] : f.sizes) {
                const int dw = request.width > 0 ? std::abs(w - request.width) : 0;
                const int diff = std::abs(h - height) + dw;
                if (diff == 0) return {static_cast<int>(i), h, w};
                if (request.bestFit && diff < bestDiff) {
                    bestDiff = diff;
                    bestIndex = static_cast<int>(i);
                    bestHeight = h;
                    bestWidth = w;
                }
            }
        }
        if (bestIndex >= 0) return {bestIndex, bestHeight, bestWidth};
    }
    return none;
}

} // namespace fonts

namespace {

// Every face built in, in the order the font numbers follow. Takes no lock.
std::vector<fonts::FontFace> listFonts()
{
    std::vector<fonts::FontFace> list;
    for (const fonts::BuiltinFont& font : fonts::builtinFonts()) {
        auto it = std::find_if(list.begin(), list.end(),
                               [&](const fonts::FontFace& f) { return f.family == font.family; });
        if (it == list.end()) {
            list.push_back({std::string(font.family), font.family == "Liberation Mono", true, {}, {}});
            it = list.end() - 1;
        }
        fonts::FontStyle style;
        style.file = std::string(font.file);
        style.weight = font.weight;
        it->styles.push_back(style);
    }
    for (auto& f : list)
        std::sort(f.styles.begin(), f.styles.end(), [](const fonts::FontStyle& a, const fonts::FontStyle& b) {
            return std::tie(a.file, a.faceIndex) < std::tie(b.file, b.faceIndex);
        });
    std::stable_sort(list.begin(), list.end(), [](const fonts::FontFace& a, const fonts::FontFace& b) {
        const int ra = fonts::familyRank(a.family), rb = fonts::familyRank(b.family);
        if (ra != rb) return ra < rb;
        return std::tie(a.family, a.scalable) < std::tie(b.family, b.scalable);
    });
    return list;
}

// The font list being loaded in the background, if any (program thread only).
std::shared_future<void>& fontsLoading()
{
    static std::shared_future<void> loading;
    return loading;
}

// Waits, with the display lock not held, for a font list being loaded in the background.
void awaitFonts()
{
    const std::shared_future<void> loading = fontsLoading();
    if (loading.valid()) loading.wait();
}

} // namespace

int loadFonts()
{
    awaitFonts();
    std::vector<fonts::FontFace> list = listFonts();
    auto guard = layer::lock();
    fonts::loadedFonts() = std::move(list);
    return static_cast<int>(fonts::loadedFonts().size());
}

void loadFontsInBackground()
{
    awaitFonts();
    fontsLoading() = std::async(std::launch::async, [] {
                         std::vector<fonts::FontFace> list = listFonts();
                         auto guard = layer::lock();
                         fonts::loadedFonts() = std::move(list);
                     }).share();
}

int selectFont(std::string_view options)
{
    awaitFonts();
    auto guard = layer::lock();
    const fonts::FontRequest request = fonts::parseFontOptions(options);
    const fonts::Match match = fonts::matchFont(fonts::loadedFonts(), request);
    if (match.index < 0) return -1;
    fonts::Selection& sel = fonts::selection();
    sel = {match.index, match.height, match.width, request.bold, request.italic, request.underline};
    return match.index + 1;
}

int graphicTextWidth(std::string_view text)
{
    awaitFonts();
    auto guard = layer::lock();
    const fonts::Selection& sel = fonts::selection();
    const auto& list = fonts::loadedFonts();
    if (sel.index < 0 || sel.index >= static_cast<int>(list.size())) return 0;
    fonts::Renderer* horizontal =
        fonts::renderer(list[static_cast<std::size_t>(sel.index)], sel.height, sel.width, sel.bold, sel.italic, 1, 0);
    if (!horizontal) return 0;
    long width = 0;
    for (char c : text) width += horizontal->glyph(layer::codePoint(static_cast<unsigned char>(c))).advanceX;
    return static_cast<int>((width + 32) >> 6);
}

void setGraphicTextDirection(int dx, int dy)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    if (dx == 0 && dy == 0) return;
    s.textDx = dx;
    s.textDy = dy;
}

void drawGraphicText(std::string_view text)
{
    awaitFonts();
    auto guard = layer::lock();
    layer::State& s = layer::state();
    fonts::Renderer* r = fonts::selectedRenderer(s);
    if (!r) return;
    // The upper-left corner is at the current point; the baseline lies `ascent` below it,
    // "below" turning with the direction of the text.
    const double length = std::hypot(double(s.textDx), double(s.textDy));
    const double ux = s.textDx / length, uy = s.textDy / length;
    const long startX = (static_cast<long>(s.viewLeft) + s.current.x) * 64;
    const long startY = (static_cast<long>(s.viewTop) + s.current.y) * 64;
    long penX = startX + std::lround(-uy * r->ascent() * 64.0);
    long penY = startY + std::lround(ux * r->ascent() * 64.0);
    const auto colour = static_cast<std::uint8_t>(s.colour);
    auto plot = [&](long x, long y) {
        if (x >= s.clipLeft && x <= s.clipRight && y >= s.clipTop && y <= s.clipBottom)
            layer::pixelRow(static_cast<int>(y))[x] = colour;
    };
    for (char c : text) {
        const fonts::Glyph& g = r->glyph(layer::codePoint(static_cast<unsigned char>(c)));
        const long ox = ((penX + 32) >> 6) + g.left;
        const long oy = ((penY + 32) >> 6) - g.top;
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.width; ++x)
                if (g.bits[static_cast<std::size_t>(y * g.width + x)]) plot(ox + x, oy + y);
        penX += g.advanceX;
        penY += g.advanceY;
    }
    const long advanceX = penX - (startX + std::lround(-uy * r->ascent() * 64.0));
    const long advanceY = penY - (startY + std::lround(ux * r->ascent() * 64.0));
    if (fonts::selection().underline && s.textDy == 0 && s.textDx > 0) {
        const long baseline = (startY >> 6) + r->ascent();
        for (int t = 0; t < r->underlineThickness(); ++t)
            for (long x = startX >> 6; x < ((startX + advanceX + 32) >> 6); ++x)
                plot(x, baseline + r->underlineOffset() + t);
    }
    s.current.x += static_cast<int>((advanceX + 32) >> 6);
    s.current.y += static_cast<int>((advanceY + 32) >> 6);
    layer::changed();
}

} // namespace tarnova

namespace tarnova::fonts {

void describeSelection(inspect::SelectedFont& out)
{
    const Selection& sel = selection();
    const auto& list = loadedFonts();
    if (sel.index < 0 || sel.index >= static_cast<int>(list.size())) return;
    out.number = sel.index + 1;
    out.family = list[static_cast<std::size_t>(sel.index)].family;
    out.height = sel.height;
    out.width = sel.width;
    out.bold = sel.bold;
    out.italic = sel.italic;
    out.underline = sel.underline;
}

void resetSelection() { selection() = Selection{}; }

} // namespace tarnova::fonts
