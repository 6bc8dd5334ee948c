#pragma once
// Graphic text helpers shared by Flexura's two screens.

#include "display/Display.hpp"

#include <cstdio>
#include <string>
#include <string_view>

namespace tarnova::flexura {

// Draws a graphic text with its top-left corner at (x, y).
inline void text(int x, int y, std::string_view s)
{
    moveTo(x, y);
    drawGraphicText(s);
}

// One number through a printf pattern.
inline std::string format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

} // namespace tarnova::flexura
