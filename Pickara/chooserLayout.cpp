#include "chooserLayout.hpp"

#include "Utilitar.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <cmath>

namespace tarnova::pickara {

CaseNames splitCasePath(std::string_view casePath)
{
    const PathParts path = splitPath(casePath);
    CaseNames names;
    names.caseDirectory = path.directory;
    FixedText curveName(curveNameLength, path.fileName);
    names.curveFileName = std::string(curveName.trimmed());

    // Extension check: the first letter after the last dot is T, or else the second is E
    // (either case). d is the dot's position from 1, 0 when there is none.
    const std::size_t n = curveName.trimmedLength();
    const std::size_t dot = curveName.trimmed().find_last_of('.');
    const std::size_t d = dot == std::string_view::npos ? 0 : dot + 1;
    FixedText expected(curveNameLength, curveName.view());
    auto charAt = [&](std::size_t position) {  // from 1; blank past the 12 characters
        return position >= 1 && position <= curveNameLength ? curveName[position - 1] : ' ';
    };
    if (d + 1 <= curveNameLength) expected[d] = 't';
    if (d + 2 <= curveNameLength) expected[d + 1] = 'e';
    names.expectedName = std::string(expected.view().substr(0, n));
    names.extensionPasses = upperCaseChar(charAt(d + 1)) == 'T' || upperCaseChar(charAt(d + 2)) == 'E';
    return names;
}

PixelPlace waitMessagePlace(int paneWidth, int paneHeight)
{
    return {static_cast<int>((paneWidth - 200) / 2.0), static_cast<int>(paneHeight / 4.0)};
}

PixelPlace readingMessagePlace(int paneWidth, int paneHeight)
{
    return {static_cast<int>((paneWidth - 160) / 2.0),
            static_cast<int>(paneHeight - paneHeight / 4.0)};
}

SectionScale fitSection(const double* positionX, const double* positionY, int elementCount,
                        int paneWidth, int paneHeight)
{
    SectionScale fit;
    const double w = paneWidth - 1;
    const double h = paneHeight - 1;
    fit.base = 350.0 * h / 479.0;
    if (elementCount < 1) return fit;

    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    rangeOfValues(positionX, elementCount, xmin, xmax);
    rangeOfValues(positionY, elementCount, ymin, ymax);
    const double dx = xmax - xmin;
    const double dy = ymax - ymin;

    double target = 0;
    double reference = 0;
    fit.fittedByHeight = 1.5 * dy >= dx;
    if (fit.fittedByHeight) {
        target = 350.0 * h / 479.0;
        reference = dy;
    } else {
        target = 560.0 * w / 639.0;
        reference = dx;
    }
    // A section of no extent (all points coincide) cannot be fitted; leave it unscaled at the
    // origin rather than divide by zero.
    fit.scale = reference > 0 ? target / reference : 0.0;
    return fit;
}

ScreenPoint screenPoint(const SectionScale& fit, double positionX, double positionY)
{
    static constexpr double limit = 32767.0;
    auto held = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -limit, limit); };
    return {held(positionX * fit.scale), held(fit.base - positionY * fit.scale)};
}

PixelPlace numberOffset(int paneWidth, int paneHeight)
{
    return {static_cast<int>(30.0 * (paneWidth - 1) / 639.0),
            static_cast<int>(50.0 * (paneHeight - 1) / 479.0)};
}

Rectangle sectionViewport(int paneWidth, int paneHeight)
{
    return {0, 0, paneWidth - 1, paneHeight - 50};
}

Rectangle promptViewport(int paneWidth, int paneHeight)
{
    return {0, paneHeight - 60, paneWidth - 1, paneHeight - 1};
}

Rectangle promptRealWindow(int paneWidth)
{
    return {10, 1, paneWidth - 10, 50};
}

ScreenPoint viewedPlace(const SectionView& view, double x, double y)
{
    return {x * view.zoom + view.shiftX, y * view.zoom + view.shiftY};
}

ScreenPoint viewedNumberPlace(const SectionView& view, double x, double y, double centreX, double centreY)
{
    const ScreenPoint centre = viewedPlace(view, x + centreX, y + centreY);
    return {centre.x - centreX, centre.y - centreY};
}

SectionView zoomedAbout(const SectionView& view, double x, double y, int notches)
{
    const double zoom = std::clamp(view.zoom * std::pow(zoomStep, notches), 1.0, largestZoom);
    if (zoom == 1.0) return {};
    const double factor = zoom / view.zoom;
    return {zoom, x - (x - view.shiftX) * factor, y - (y - view.shiftY) * factor};
}

SectionView dragged(const SectionView& view, double dx, double dy)
{
    if (view.zoom == 1.0) return {};
    return {view.zoom, view.shiftX + dx, view.shiftY + dy};
}

int numberUnder(const NumberBox* boxes, int elementCount, double x, double y)
{
    int found = 0;
    double nearest = 0;
    for (int i = 0; i < elementCount; ++i) {
        const NumberBox& b = boxes[i];
        if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) continue;
        const double cx = (b.left + b.right) / 2 - x;
        const double cy = (b.top + b.bottom) / 2 - y;
        const double distance = cx * cx + cy * cy;
        if (found == 0 || distance <= nearest) {
            found = i + 1;
            nearest = distance;
        }
    }
    return found;
}

std::string elementRangeText(int elementCount)
{
    FixedText count(3);
    formatToText(count, "(I3)", {elementCount});
    return "(1 - " + std::string(count.trimmed()) + ")";
}

} // namespace tarnova::pickara
