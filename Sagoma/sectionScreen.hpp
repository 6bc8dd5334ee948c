#pragma once
// The section on the pane of a window: the same drawing as the picture, with the element
// numbers that find room at the zoom shown, zoomed with the wheel and moved by dragging.

#include "sectionDescription.hpp"

namespace tarnova::sagoma {

// Zoom and shift of the drawing, in pane pixels; zoom 1 is the whole section and has no shift.
struct ScreenView {
    double zoom = 1, shiftX = 0, shiftY = 0;
};
inline constexpr double zoomStep = 1.25;     // per wheel notch
inline constexpr double largestZoom = 64;

// Zoomed by `notches` (negative: out) about the pane point (x, y), which stays where it is.
ScreenView zoomedAbout(const ScreenView& view, double x, double y, int notches);
// Moved by (dx, dy) pixels; at zoom 1 nothing moves.
ScreenView dragged(const ScreenView& view, double dx, double dy);

// Draws the section on the pane above the status line; returns how many numbers found no room.
int drawSectionScreen(const BuiltSection& section, const ScreenView& view, int paneWidth, int paneHeight);

} // namespace tarnova::sagoma
