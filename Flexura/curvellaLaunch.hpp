#pragma once
// Handing an element of the map to Curvella: "nElem.txt" in the case directory, as Pickara
// writes it, and Curvella started on the case study's element curve file.

#include <functional>
#include <string>

namespace tarnova::flexura {

// Curvella beside this program (an installed bin directory), else in the build tree's sibling
// folder; "" when neither exists.
std::string curvellaProgram();

// Writes `element` (from 1) to "nElem.txt" in the current directory and starts Curvella on
// `curvePath`, without waiting for it. Returns what happened, for the status line. The run is
// collected as soon as it ends (no zombie is left), and `ended` is then called on a thread of its
// own.
std::string openInCurvella(const std::string& curvePath, int element, std::function<void()> ended = {});

// Collects Curvella runs that have ended, should any have been missed.
void reapFinishedChildren();

} // namespace tarnova::flexura
