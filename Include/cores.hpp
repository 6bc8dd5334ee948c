#pragma once
// The colour table shared by the programs: 39 colours, 0 to 15 the standard ones, 16 to 30 a
// spectrum from red through yellow, green and cyan to blue and violet, 31 to 38 a grey ramp.

#include <array>
#include <cstdint>

namespace tarnova {

inline constexpr int colourTableSize = 39;

// Entry i as 0x00BBGGRR (red in the lowest byte).
const std::array<std::uint32_t, colourTableSize>& colourTable();

// Hands the table to the display layer; -1 when the display keeps its standard colours.
int loadPalette();

} // namespace tarnova
