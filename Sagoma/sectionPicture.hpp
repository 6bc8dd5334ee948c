#pragma once
// The section to scale as an 8-bit palette PNG: plating by steel colour, stiffeners drawn on
// their side, hard corners, element numbers (with leader lines where they crowd), a legend of
// the steels and the elastic neutral axis.

#include "sectionDescription.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnova::sagoma {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;        // palette indices, row by row
    std::vector<std::uint32_t> palette;      // 0xRRGGBB
    int unlabelled = 0;                      // elements whose number found no free place
};

// The elastic neutral axis height (mm): first moment of the element areas (plate and stiffener,
// each at its own centroid) over their sum.
double neutralAxisHeight(const BuiltSection& section);

Picture drawSection(const BuiltSection& section, int width = 1600);

// Writes the picture through a temporary renamed over `path`. False with `reason` on failure.
bool writePicture(const std::string& path, const Picture& picture, std::string& reason);

} // namespace tarnova::sagoma
