#include "sectionPicture.hpp"

#include "paletteImage.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace tarnova::sagoma {

namespace {

enum Colour : std::uint8_t { paper, ink, axis, leader, cornerColour, firstSteel };
constexpr std::uint32_t steelColours[] = {0x2060c0, 0xc03020, 0x209040, 0xc08000, 0x8040a0};
constexpr int margin = 70;

// Digits 3 wide and 5 high, drawn twice their size.
constexpr std::array<const char*, 10> digitRows = {"111101101101111", "010110010010111", "111001111100111",
                                                   "111001111001111", "101101111001001", "111100111001111",
                                                   "111100111101111", "111001001001001", "111101111101111",
                                                   "111101111001111"};
// Capitals in the same grid, for the steels' names in the legend.
constexpr std::array<const char*, 26> letterRows = {
    "010101111101101", "110101110101110", "011100100100011", "110101101101110", "111100110100111",
    "111100110100100", "011100101101011", "101101111101101", "111010010010111", "001001001101010",
    "101101110101101", "100100100100111", "101111111101101", "110101101101101", "010101101101010",
    "110101110100100", "010101101111011", "110101110101101", "011100010001110", "111010010010010",
    "101101101101111", "101101101101010", "101101111111101", "101101010101101", "101101010010010",
    "111001010100111"};
constexpr int glyphWidth = 8, glyphHeight = 10;

struct Canvas {
    Picture& p;
    void set(int x, int y, std::uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < p.width && y < p.height)
            p.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) + static_cast<std::size_t>(x)] = c;
    }
    void line(double x0, double y0, double x1, double y1, std::uint8_t c, int thickness = 1, int dash = 0)
    {
        const int steps = std::max(1, static_cast<int>(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)))));
        for (int i = 0; i <= steps; ++i) {
            if (dash > 0 && (i / dash) % 2 == 1) continue;
            const double t = static_cast<double>(i) / steps;
            const int x = static_cast<int>(std::lround(x0 + t * (x1 - x0)));
            const int y = static_cast<int>(std::lround(y0 + t * (y1 - y0)));
            for (int a = -(thickness - 1) / 2; a <= thickness / 2; ++a)
                for (int b = -(thickness - 1) / 2; b <= thickness / 2; ++b) set(x + a, y + b, c);
        }
    }
    void box(int x0, int y0, int x1, int y1, std::uint8_t c)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) set(x, y, c);
    }
    void number(int x, int y, int value, std::uint8_t c) { text(x, y, std::to_string(value), c); }
    // Digits and letters (small ones as capitals); "-" and "." as strokes; anything else a space.
    // Returns the x after the text.
    int text(int x, int y, std::string_view s, std::uint8_t c)
    {
        for (char ch : s) {
            const char* rows = nullptr;
            if (ch >= '0' && ch <= '9') rows = digitRows[static_cast<std::size_t>(ch - '0')];
            else if (ch >= 'A' && ch <= 'Z') rows = letterRows[static_cast<std::size_t>(ch - 'A')];
            else if (ch >= 'a' && ch <= 'z') rows = letterRows[static_cast<std::size_t>(ch - 'a')];
            else if (ch == '-') rows = "000000111000000";
            else if (ch == '.') rows = "000000000000010";
            if (rows)
                for (int r = 0; r < 5; ++r)
                    for (int k = 0; k < 3; ++k)
                        if (rows[r * 3 + k] == '1') box(x + 2 * k, y + 2 * r, x + 2 * k + 1, y + 2 * r + 1, c);
            x += glyphWidth;
        }
        return x;
    }
};

struct Rect {
    int x0, y0, x1, y1;
    bool overlaps(const Rect& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

// Direction the stiffener points: 1 -y, 2 +y, 3 -x, 4 +x (anything else: none).
void stiffenerDirection(int orientation, double& dx, double& dy)
{
    dx = orientation == 3 ? -1 : orientation == 4 ? 1 : 0;
    dy = orientation == 1 ? -1 : orientation == 2 ? 1 : 0;
}

} // namespace

double neutralAxisHeight(const BuiltSection& s)
{
    double area = 0, moment = 0;
    for (const PlacedElement& e : s.elements) {
        double dx = 0, dy = 0;
        stiffenerDirection(e.orientation, dx, dy);
        const double plate = e.plateWidth * e.plateThickness;
        const double web = e.webHeight * e.webThickness, flange = e.flangeWidth * e.flangeThickness;
        area += plate + web + flange;
        moment += plate * e.y + web * (e.y + dy * e.webHeight / 2) + flange * (e.y + dy * (e.webHeight + e.flangeThickness / 2));
    }
    return area > 0 ? moment / area : 0;
}

Picture drawSection(const BuiltSection& s, int width)
{
    Picture p;
    double minX = 0, maxX = 1, minY = 0, maxY = 1;
    bool first = true;
    auto extend = [&](double x, double y) {
        if (first) {
            minX = maxX = x;
            minY = maxY = y;
            first = false;
        }
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    };
    for (const PlacedElement& e : s.elements) extend(e.x, e.y);
    for (const PlateRun& r : s.plating) extend(r.x0, r.y0), extend(r.x1, r.y1);
    const double spanX = std::max(maxX - minX, 1.0), spanY = std::max(maxY - minY, 1.0);
    double scale = (width - 2 * margin) / spanX;
    int height = static_cast<int>(std::ceil(spanY * scale)) + 2 * margin + 40;
    if (height > 2 * width) {   // a tall, narrow section: fit the height instead
        height = 2 * width;
        scale = (height - 2 * margin - 40) / spanY;
    }
    p.width = width;
    p.height = height;
    p.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), paper);
    p.palette = {0xffffff, 0x000000, 0x0090d0, 0xa0a0a0, 0x000000};
    for (std::uint32_t c : steelColours) p.palette.push_back(c);
    Canvas c{p};
    auto px = [&](double x) { return margin + (x - minX) * scale; };
    auto py = [&](double y) { return height - margin - 40 - (y - minY) * scale; };

    // Plating, by steel.
    for (const PlateRun& r : s.plating) {
        const int thickness = std::max(1, static_cast<int>(std::lround(r.thickness * scale)));
        c.line(px(r.x0), py(r.y0), px(r.x1), py(r.y1), static_cast<std::uint8_t>(firstSteel + (r.propertySet - 1) % 5),
               std::max(thickness, 2));
    }
    // Stiffeners on their side, hard corners as squares.
    for (const PlacedElement& e : s.elements) {
        const std::uint8_t colour = static_cast<std::uint8_t>(firstSteel + (e.propertySet - 1) % 5);
        if (e.elementKind == 1) {
            const int x = static_cast<int>(std::lround(px(e.x))), y = static_cast<int>(std::lround(py(e.y)));
            c.box(x - 3, y - 3, x + 3, y + 3, cornerColour);
            continue;
        }
        if (e.webHeight <= 0) continue;
        double dx = 0, dy = 0;
        stiffenerDirection(e.orientation, dx, dy);
        const double h = std::max(e.webHeight * scale, 4.0);
        const double x0 = px(e.x), y0 = py(e.y), x1 = x0 + dx * h, y1 = y0 - dy * h;
        c.line(x0, y0, x1, y1, colour);
        if (e.flangeWidth > 0) {
            const double f = std::max(e.flangeWidth * scale / 2, 2.0);
            c.line(x1 - dy * f, y1 - dx * f, x1 + dy * f, y1 + dx * f, colour);
        }
    }
    // The elastic neutral axis, dashed across the section.
    const double axisY = py(neutralAxisHeight(s));
    c.line(margin - 30, axisY, width - margin + 30, axisY, axis, 1, 6);

    // Element numbers: each at the first free place around its element, on the side away from
    // its stiffener; a leader line when it had to move away.
    std::vector<Rect> taken;
    for (std::size_t i = 0; i < s.elements.size(); ++i) {
        const PlacedElement& e = s.elements[i];
        const int label = static_cast<int>(i + 1);
        const int w = static_cast<int>(std::to_string(label).size()) * glyphWidth, h = glyphHeight;
        double dx = 0, dy = 0;
        stiffenerDirection(e.orientation, dx, dy);
        if (e.elementKind == 1 || (dx == 0 && dy == 0)) dy = -1;
        const double ex = px(e.x), ey = py(e.y);
        bool placed = false;
        for (int ring = 1; ring <= 6 && !placed; ++ring) {
            const double distance = 6.0 + 12.0 * (ring - 1);
            // Away from the stiffener first, then along the plating either way, then beyond.
            const double candidates[][2] = {{-dx, -dy}, {-dx + dy, -dy - dx}, {-dx - dy, -dy + dx}, {dy, -dx}, {-dy, dx}};
            for (const auto& d : candidates) {
                const double cx = ex + d[0] * (distance + w / 2.0), cy = ey - d[1] * (distance + h / 2.0);
                const Rect r{static_cast<int>(cx) - w / 2, static_cast<int>(cy) - h / 2, static_cast<int>(cx) + w / 2,
                             static_cast<int>(cy) + h / 2};
                if (r.x0 < 0 || r.y0 < 0 || r.x1 >= width || r.y1 >= height - 40) continue;
                if (std::any_of(taken.begin(), taken.end(), [&](const Rect& t) { return t.overlaps(r); })) continue;
                if (ring > 1) c.line(ex, ey, cx, cy, leader);
                taken.push_back(r);
                c.number(r.x0 + 1, r.y0, label, ink);
                placed = true;
                break;
            }
        }
        if (!placed) ++p.unlabelled;
    }

    // Legend: a swatch per steel with its set number, name and yield stress; the neutral axis.
    int lx = margin;
    const int ly = height - 30;
    for (std::size_t k = 0; k < s.steels.size(); ++k) {
        c.box(lx, ly, lx + 20, ly + glyphHeight, static_cast<std::uint8_t>(firstSteel + k % 5));
        const std::string entry = std::to_string(k + 1) + " " + s.steels[k].name.substr(0, 16) + " " +
                                  std::to_string(std::lround(s.steels[k].yieldStress));
        lx = c.text(lx + 26, ly, entry, ink) + 30;
    }
    c.line(lx, ly + 5, lx + 50, ly + 5, axis, 1, 6);
    c.text(lx + 60, ly, "NEUTRAL AXIS", ink);
    return p;
}

bool writePicture(const std::string& path, const Picture& picture, std::string& reason)
{
    PaletteImage image;
    image.width = picture.width;
    image.height = picture.height;
    image.pixels = picture.pixels;
    for (std::uint32_t c : picture.palette)   // 0xRRGGBB, every entry
        image.palette.push_back({static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                 static_cast<std::uint8_t>(c)});
    return writePaletteImage(path, image, &reason);
}

} // namespace tarnova::sagoma
