#pragma once
// Pickara's layout and name rules, free of any display: the parts of the argument path, the
// extension check, the scaling of the section onto the pane and the places of the wait message,
// the element numbers and the prompt strip. Everything here is plain arithmetic so that it can be
// checked on any pane size without a window.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnova::pickara {

inline constexpr int maxElements = 600;
// The longest argument and directory the system passes: paths are never cut.
inline constexpr std::size_t casePathLength = 128 * 1024;
inline constexpr std::size_t directoryLength = 4096;
inline constexpr std::size_t curveNameLength = 12;

// The argument split into its directory and its file name. Both "\" and "/" separate
// directories; the last of either ends the directory part.
struct CaseNames {
    std::string caseDirectory;  // trimmed; empty when the argument names no directory
    std::string curveFileName;  // after the last separator, cut to 12 characters, trimmed
    std::string expectedName;   // curveFileName with the two characters after its last "." made "te"
    bool extensionPasses = false;
};
CaseNames splitCasePath(std::string_view casePath);

struct PixelPlace {
    int x = 0;
    int y = 0;
};
// "WAIT A MOMENT PLEASE" and "READING FILES..." on a pane of that size.
PixelPlace waitMessagePlace(int paneWidth, int paneHeight);
PixelPlace readingMessagePlace(int paneWidth, int paneHeight);

// How the section is fitted onto the pane: by its height when 1.5 x height >= width, else by its
// width. A section without extent (one element, or all at one point) gets scale 0, so every
// number lands on the section's origin.
struct SectionScale {
    bool fittedByHeight = true;
    double scale = 0;   // pixels per mm
    double base = 0;    // pixel row of y = 0
};
SectionScale fitSection(const double* positionX, const double* positionY, int elementCount,
                        int paneWidth, int paneHeight);

// Screen place of one element point, before the drawing offsets; held within +-32767 pixels so a
// stray coordinate can never overflow the pixel arithmetic (anything that far is off the pane).
struct ScreenPoint {
    double x = 0;
    double y = 0;
};
ScreenPoint screenPoint(const SectionScale& fit, double positionX, double positionY);

// Shift of every element number from its screen point: 30 x 50 nominal pixels.
PixelPlace numberOffset(int paneWidth, int paneHeight);

// The section's drawing area: viewport and real window are both (0, 0) to (paneWidth - 1,
// paneHeight - 50), so real units are pixels.
struct Rectangle {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
Rectangle sectionViewport(int paneWidth, int paneHeight);
// The prompt strip: viewport (0, paneHeight - 60) to (paneWidth - 1, paneHeight - 1) carrying the
// real window (10, 1) to (paneWidth - 10, 50).
Rectangle promptViewport(int paneWidth, int paneHeight);
Rectangle promptRealWindow(int paneWidth);

// The section as the user views it in a window: zoomed by `zoom` and shifted, in pixels of the
// section's drawing area. Zoom 1 always has no shift: it is the screen as first drawn.
struct SectionView {
    double zoom = 1;
    double shiftX = 0;
    double shiftY = 0;
};
inline constexpr double zoomStep = 1.25;   // per wheel notch
inline constexpr double largestZoom = 64;
// Where a number whose place is (x, y) at zoom 1 is drawn in the view.
ScreenPoint viewedPlace(const SectionView& view, double x, double y);
// Where a number whose upper-left corner is at (x, y) at zoom 1 is drawn in the view. The number
// keeps its size; the point that moves with the view is its digits' centre, (centreX, centreY)
// from the corner, so that a number under the pointer stays under it through any zoom.
ScreenPoint viewedNumberPlace(const SectionView& view, double x, double y, double centreX, double centreY);
// The view zoomed by `notches` wheel notches (negative: out) about the point (x, y), which stays
// where it is; held between zoom 1 and the largest zoom.
SectionView zoomedAbout(const SectionView& view, double x, double y, int notches);
// The view dragged by (dx, dy) pixels; at zoom 1 nothing moves.
SectionView dragged(const SectionView& view, double dx, double dy);

// The drawn digits of one element's number (blanks of its field left out), in pixels.
struct NumberBox {
    double left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};
// The element (from 1) whose drawn number is under the point: of the boxes that hold it, the one
// whose centre is nearest (ties to the later drawn, which lies on top); 0 when none does.
int numberUnder(const NumberBox* boxes, int elementCount, double x, double y);

// "(1 - " and the element count in "(I3)" up to its trimmed length, then ")".
std::string elementRangeText(int elementCount);

} // namespace tarnova::pickara
