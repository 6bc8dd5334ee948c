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

// "(1 - " and the element count in "(I3)" up to its trimmed length, then ")".
std::string elementRangeText(int elementCount);

} // namespace tarnova::pickara
