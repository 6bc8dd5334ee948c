#pragma once
// The element screen: plot, key plan, data panel and ultimate values, then the image of the
// whole pane, "ElemNNN.bmp", in the current directory.

#include "ElementData.hpp"

#include <string_view>

namespace tarnova {

// Scales data's positions in place (the key plan) and appends the ultimate values to the open
// element listing. False when the image could not be written.
bool showElement(ElementData& data, std::string_view curveFileName, const ScreenSettings& screen);

} // namespace tarnova
