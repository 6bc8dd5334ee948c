#pragma once
// The interaction curve (vertical against horizontal bending moment at Mu over the heel angles)
// with the design points of every condition, drawn on the pane and saved as a PNG.

#include "assessment.hpp"

#include <string>

namespace tarnova::collaudo {

void drawInteractionChart(const Assessment& a, const Limits& limits, int paneWidth, int paneHeight);
// The whole pane as an 8-bit palette PNG through replaceFileWith; false when it cannot be written.
bool savePanePng(const std::string& fileName, int paneWidth, int paneHeight);

} // namespace tarnova::collaudo
