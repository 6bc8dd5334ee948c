#pragma once
// Handing an element of the map to Curvella: "nElem.txt" in the case directory, as Pickara
// writes it, and Curvella started on the case study's element curve file.

#include <string>

namespace tarnova::flexura {

// Curvella beside this program (an installed bin directory), else in the build tree's sibling
// folder; "" when neither exists.
std::string curvellaProgram();

// Writes `element` (from 1) to "nElem.txt" in the current directory and starts Curvella on
// `curvePath`, without waiting for it. Returns what happened, for the status line.
std::string openInCurvella(const std::string& curvePath, int element);

// Collects Curvella runs that have ended (no zombie processes are left behind).
void reapFinishedChildren();

} // namespace tarnova::flexura
