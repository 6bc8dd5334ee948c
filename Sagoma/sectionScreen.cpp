#include "sectionScreen.hpp"

#include "display/Display.hpp"
#include "sectionPicture.hpp"   // neutralAxisHeight

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace tarnova::sagoma {

namespace {

// Standard colours of the shared table.
constexpr int black = 0, cyan = 3, white = 15;
constexpr int steelColours[] = {1, 4, 2, 6, 5};
constexpr int margin = 40;

struct Box {
    double x0, y0, x1, y1;
    bool overlaps(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

} // namespace

ScreenView zoomedAbout(const ScreenView& view, double x, double y, int notches)
{
    const double zoom = std::clamp(view.zoom * std::pow(zoomStep, notches), 1.0, largestZoom);
    if (zoom == 1.0) return {};
    const double factor = zoom / view.zoom;
    return {zoom, x - (x - view.shiftX) * factor, y - (y - view.shiftY) * factor};
}

ScreenView dragged(const ScreenView& view, double dx, double dy)
{
    if (view.zoom == 1.0) return {};
    return {view.zoom, view.shiftX + dx, view.shiftY + dy};
}

int drawSectionScreen(const BuiltSection& s, const ScreenView& view, int paneWidth, int paneHeight)
{
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    setRealWindow(false, 0, 0, paneWidth - 1, paneHeight - 1);
    setBackgroundColour(white);
    clearScreen(0);
    setColour(white);
    drawRectangle(3, 0, 0, paneWidth - 1, paneHeight - 1);

    double minX = 0, maxX = 1, minY = 0, maxY = 1;
    bool first = true;
    auto extend = [&](double x, double y) {
        if (first) minX = maxX = x, minY = maxY = y, first = false;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    };
    for (const PlacedElement& e : s.elements) extend(e.x, e.y);
    for (const PlateRun& r : s.plating) extend(r.x0, r.y0), extend(r.x1, r.y1);
    const double drawWidth = paneWidth - 2.0 * margin, drawHeight = paneHeight - 2.0 * margin;
    const double scale = std::min(drawWidth / std::max(maxX - minX, 1.0), drawHeight / std::max(maxY - minY, 1.0));
    const double offsetX = margin + (drawWidth - (maxX - minX) * scale) / 2;
    const double offsetY = margin + (drawHeight - (maxY - minY) * scale) / 2;
    const double pixels = scale * view.zoom;   // pixels per mm as viewed
    auto px = [&](double x) { return (offsetX + (x - minX) * scale) * view.zoom + view.shiftX; };
    auto py = [&](double y) { return (offsetY + (maxY - y) * scale) * view.zoom + view.shiftY; };
    auto line = [&](double x0, double y0, double x1, double y1) {
        moveToReal(x0, y0);
        lineToReal(x1, y1);
    };

    for (const PlateRun& r : s.plating) {
        setColour(steelColours[(r.propertySet - 1) % 5]);
        line(px(r.x0), py(r.y0), px(r.x1), py(r.y1));
    }
    for (const PlacedElement& e : s.elements) {
        const double x = px(e.x), y = py(e.y);
        if (e.elementKind == 1) {
            setColour(black);
            drawRectangle(3, static_cast<int>(x) - 2, static_cast<int>(y) - 2, static_cast<int>(x) + 2, static_cast<int>(y) + 2);
            continue;
        }
        if (e.webHeight <= 0) continue;
        const double dx = e.orientation == 3 ? -1 : e.orientation == 4 ? 1 : 0;
        const double dy = e.orientation == 1 ? -1 : e.orientation == 2 ? 1 : 0;
        const double h = std::max(e.webHeight * pixels, 3.0);
        const double x1 = x + dx * h, y1 = y - dy * h;
        setColour(steelColours[(e.propertySet - 1) % 5]);
        line(x, y, x1, y1);
        if (e.flangeWidth > 0) {
            const double f = std::max(e.flangeWidth * pixels / 2, 1.5);
            line(x1 - dy * f, y1 - dx * f, x1 + dy * f, y1 + dx * f);
        }
    }
    // The elastic neutral axis, dashed.
    setColour(cyan);
    const double axis = py(neutralAxisHeight(s));
    for (double x = 0; x < paneWidth; x += 12) line(x, axis, std::min(x + 6, paneWidth - 1.0), axis);

    // The numbers that find room at this zoom, beside their elements; zooming in shows the rest.
    setColour(black);
    std::vector<Box> taken;
    int hidden = 0;
    for (std::size_t i = 0; i < s.elements.size(); ++i) {
        const PlacedElement& e = s.elements[i];
        const std::string label = std::to_string(i + 1);
        const double w = graphicTextWidth(label), h = 14;
        const double x = px(e.x), y = py(e.y);
        const double dx = e.orientation == 4 ? -1 : e.orientation == 3 ? 1 : 0;
        const double dy = e.orientation == 2 ? 1 : e.orientation == 1 ? -1 : 1;   // away from the stiffener
        const double cx = x + dx * (w / 2 + 4) - w / 2, cy = y + dy * (h / 2 + 4) - h / 2;
        const Box box{cx, cy, cx + w, cy + h};
        if (box.x1 < 0 || box.y1 < 0 || box.x0 >= paneWidth || box.y0 >= paneHeight) continue;
        if (std::any_of(taken.begin(), taken.end(), [&](const Box& t) { return t.overlaps(box); })) {
            ++hidden;
            continue;
        }
        taken.push_back(box);
        moveTo(static_cast<int>(cx), static_cast<int>(cy));
        drawGraphicText(label);
    }
    return hidden;
}

} // namespace tarnova::sagoma
