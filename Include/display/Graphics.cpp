// The graphics layer: current point, viewport and real-coordinate window, and the one-pixel
// lines, rectangles, ellipses and single pixels drawn in the graphics colour.

#include "display/Layer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace tarnova {

namespace {

// Coordinates are kept within this bound so that arithmetic on them cannot overflow.
constexpr double coordinateLimit = 1.0e9;

// Nearest integer, halves away from zero; NaN gives false.
bool nearest(double v, long long& out)
{
    if (std::isnan(v)) return false;
    v = std::clamp(v, -coordinateLimit, coordinateLimit);
    out = std::llround(v);
    return true;
}

// Real coordinates to a pixel relative to the viewport's upper-left corner.
bool realToPixel(const layer::State& s, double x, double y, long long& px, long long& py)
{
    if (!s.realWindowSet) return nearest(x, px) && nearest(y, py);
    const double column = (x - s.realX1) * (s.viewRight - s.viewLeft) / (s.realX2 - s.realX1);
    const double row = (y - s.realY1) * (s.viewBottom - s.viewTop) / (s.realY2 - s.realY1);
    if (!nearest(column, px) || !nearest(row, py)) return false;
    if (s.invertY) py = (s.viewBottom - s.viewTop) - py;
    return true;
}

RealPoint pixelToReal(const layer::State& s, int px, int py)
{
    if (!s.realWindowSet) return {double(px), double(py)};
    const int w = s.viewRight - s.viewLeft;
    const int h = s.viewBottom - s.viewTop;
    if (s.invertY) py = h - py;
    return {w == 0 ? s.realX1 : s.realX1 + px * (s.realX2 - s.realX1) / w,
            h == 0 ? s.realY1 : s.realY1 + py * (s.realY2 - s.realY1) / h};
}

int clampInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -2000000000LL, 2000000000LL));
}

bool inClip(const layer::State& s, long long x, long long y)
{
    return x >= s.clipLeft && x <= s.clipRight && y >= s.clipTop && y <= s.clipBottom;
}

void plot(const layer::State& s, long long x, long long y)
{
    if (inClip(s, x, y)) layer::pixelRow(static_cast<int>(y))[x] = static_cast<std::uint8_t>(s.colour);
}

// Horizontal run of pixels, clipped.
void span(const layer::State& s, long long y, long long x1, long long x2)
{
    if (y < s.clipTop || y > s.clipBottom) return;
    x1 = std::max<long long>(x1, s.clipLeft);
    x2 = std::min<long long>(x2, s.clipRight);
    if (x1 > x2) return;
    std::uint8_t* row = layer::pixelRow(static_cast<int>(y));
    std::fill(row + x1, row + x2 + 1, static_cast<std::uint8_t>(s.colour));
}

void verticalSpan(const layer::State& s, long long x, long long y1, long long y2)
{
    if (x < s.clipLeft || x > s.clipRight) return;
    y1 = std::max<long long>(y1, s.clipTop);
    y2 = std::min<long long>(y2, s.clipBottom);
    for (long long y = y1; y <= y2; ++y) layer::pixelRow(static_cast<int>(y))[x] = static_cast<std::uint8_t>(s.colour);
}

// Bresenham line in absolute pixels, both ends drawn. A line reaching far outside the pane is
// first cut to a margin around the clip rectangle so the walk stays short.
void line(const layer::State& s, long long x0, long long y0, long long x1, long long y1)
{
    constexpr long long walkLimit = 1 << 16;
    if (std::llabs(x1 - x0) > walkLimit || std::llabs(y1 - y0) > walkLimit) {
        // Liang-Barsky against the clip rectangle grown by two pixels.
        const double left = s.clipLeft - 2.0, right = s.clipRight + 2.0;
        const double top = s.clipTop - 2.0, bottom = s.clipBottom + 2.0;
        const double dx = double(x1 - x0), dy = double(y1 - y0);
        double t0 = 0.0, t1 = 1.0;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0.0) return;
            } else {
                const double t = q[i] / p[i];
                if (p[i] < 0.0) t0 = std::max(t0, t);
                else t1 = std::min(t1, t);
            }
        }
        if (t0 > t1) return;
        const long long nx0 = std::llround(x0 + t0 * dx), ny0 = std::llround(y0 + t0 * dy);
        const long long nx1 = std::llround(x0 + t1 * dx), ny1 = std::llround(y0 + t1 * dy);
        x0 = nx0; y0 = ny0; x1 = nx1; y1 = ny1;
    }
    const long long dx = std::llabs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const long long dy = -std::llabs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    long long err = dx + dy;
    for (;;) {
        plot(s, x0, y0);
        if (x0 == x1 && y0 == y1) break;
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void rectangle(const layer::State& s, int fill, long long x1, long long y1, long long x2, long long y2)
{
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (fill == 3) {
        for (long long y = std::max<long long>(y1, s.clipTop); y <= std::min<long long>(y2, s.clipBottom); ++y)
            span(s, y, x1, x2);
        return;
    }
    span(s, y1, x1, x2);
    span(s, y2, x1, x2);
    verticalSpan(s, x1, y1, y2);
    verticalSpan(s, x2, y1, y2);
}

// Half-open run [first, last] of the ellipse inscribed in the box on pixel row y, or false.
// A pixel belongs to the ellipse when its centre lies within the ellipse through the outer
// edges of the box's border pixels, so a one-pixel box gives its single pixel.
bool ellipseRow(long long x1, long long y1, long long x2, long long y2, long long y, long long& first,
                long long& last)
{
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double a = (x2 - x1) / 2.0 + 0.5, b = (y2 - y1) / 2.0 + 0.5;
    const double t = (y - cy) / b;
    if (t * t > 1.0) return false;
    const double half = a * std::sqrt(1.0 - t * t);
    first = static_cast<long long>(std::ceil(cx - half - 1e-9));
    last = static_cast<long long>(std::floor(cx + half + 1e-9));
    first = std::max(first, x1);
    last = std::min(last, x2);
    return first <= last;
}

void ellipse(const layer::State& s, int fill, long long x1, long long y1, long long x2, long long y2)
{
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const long long top = std::max<long long>(y1, s.clipTop);
    const long long bottom = std::min<long long>(y2, s.clipBottom);
    for (long long y = top; y <= bottom; ++y) {
        long long first = 0, last = 0;
        if (!ellipseRow(x1, y1, x2, y2, y, first, last)) continue;
        if (fill == 3) {
            span(s, y, first, last);
            continue;
        }
        // Outline: the pixels of this row with a neighbour outside the ellipse above or below,
        // plus the ends of the run.
        long long upFirst = 0, upLast = -1, downFirst = 0, downLast = -1;
        if (!ellipseRow(x1, y1, x2, y2, y - 1, upFirst, upLast)) upLast = upFirst - 1;
        if (!ellipseRow(x1, y1, x2, y2, y + 1, downFirst, downLast)) downLast = downFirst - 1;
        const long long innerFirst = std::max(upFirst, downFirst);
        const long long innerLast = std::min(upLast, downLast);
        if (innerFirst > innerLast || upLast < upFirst || downLast < downFirst) {
            span(s, y, first, last);
            continue;
        }
        span(s, y, first, std::min(last, std::max(first, innerFirst - 1)));
        span(s, y, std::max(first, std::min(last, innerLast + 1)), last);
    }
}

} // namespace

int setColour(int index)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    const int previous = s.colour;
    if (index >= 0 && index <= 255) s.colour = index;
    return previous;
}

PixelPoint moveTo(int x, int y)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    const PixelPoint previous = s.current;
    s.current = {x, y};
    s.currentReal = pixelToReal(s, x, y);
    return previous;
}

RealPoint moveToReal(double x, double y)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    const RealPoint previous = s.currentReal;
    long long px = 0, py = 0;
    if (realToPixel(s, x, y, px, py)) {
        s.current = {clampInt(px), clampInt(py)};
        s.currentReal = {x, y};
    }
    return previous;
}

void lineToReal(double x, double y)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    long long px = 0, py = 0;
    if (!realToPixel(s, x, y, px, py)) return;
    line(s, s.viewLeft + static_cast<long long>(s.current.x), s.viewTop + static_cast<long long>(s.current.y),
         s.viewLeft + px, s.viewTop + py);
    s.current = {clampInt(px), clampInt(py)};
    s.currentReal = {x, y};
    layer::changed();
}

void drawRectangle(int fill, int x1, int y1, int x2, int y2)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    rectangle(s, fill, s.viewLeft + static_cast<long long>(x1), s.viewTop + static_cast<long long>(y1),
              s.viewLeft + static_cast<long long>(x2), s.viewTop + static_cast<long long>(y2));
    layer::changed();
}

void drawRectangleReal(int fill, double x1, double y1, double x2, double y2)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    long long ax = 0, ay = 0, bx = 0, by = 0;
    if (!realToPixel(s, x1, y1, ax, ay) || !realToPixel(s, x2, y2, bx, by)) return;
    rectangle(s, fill, s.viewLeft + ax, s.viewTop + ay, s.viewLeft + bx, s.viewTop + by);
    layer::changed();
}

void drawEllipseReal(int fill, double x1, double y1, double x2, double y2)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    long long ax = 0, ay = 0, bx = 0, by = 0;
    if (!realToPixel(s, x1, y1, ax, ay) || !realToPixel(s, x2, y2, bx, by)) return;
    ellipse(s, fill, s.viewLeft + ax, s.viewTop + ay, s.viewLeft + bx, s.viewTop + by);
    layer::changed();
}

int setPixelReal(double x, double y)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    long long px = 0, py = 0;
    if (!realToPixel(s, x, y, px, py)) return -1;
    px += s.viewLeft;
    py += s.viewTop;
    if (!inClip(s, px, py)) return -1;
    std::uint8_t& pixel = layer::pixelRow(static_cast<int>(py))[px];
    const int previous = pixel;
    pixel = static_cast<std::uint8_t>(s.colour);
    layer::changed();
    return previous;
}

void setViewport(int x1, int y1, int x2, int y2)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const auto& d = displayState();
    s.viewLeft = x1;
    s.viewTop = y1;
    s.viewRight = x2;
    s.viewBottom = y2;
    s.clipLeft = std::max(x1, 0);
    s.clipTop = std::max(y1, 0);
    s.clipRight = std::min(x2, d.paneWidth - 1);
    s.clipBottom = std::min(y2, d.paneHeight - 1);
    s.current = {0, 0};
    s.currentReal = pixelToReal(s, 0, 0);
}

bool setRealWindow(bool invertY, double x1, double y1, double x2, double y2)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    if (!(x1 != x2) || !(y1 != y2)) return false;   // also refuses NaN
    if (std::isnan(x1) || std::isnan(x2) || std::isnan(y1) || std::isnan(y2)) return false;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    s.realWindowSet = true;
    s.invertY = invertY;
    s.realX1 = x1;
    s.realY1 = y1;
    s.realX2 = x2;
    s.realY2 = y2;
    return true;
}

void clearRealWindow()
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    s.realWindowSet = false;
    s.invertY = false;
}

} // namespace tarnova
