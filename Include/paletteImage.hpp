#pragma once
// 8-bit palette PNG images through libpng: one encoder for every program that writes one.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarnova {

struct PaletteImage {
    int width = 0, height = 0;
    std::span<const std::uint8_t> pixels;                // width × height palette indices, row by row
    std::vector<std::array<std::uint8_t, 3>> palette;    // red, green, blue of each entry written
    std::string textKey, text;                            // one uncompressed text chunk; none when the key is empty
    // Level 6 run-length deflate without row filters: fast and small on flat areas of a few
    // colours. Otherwise libpng's default compression and filters.
    bool flatRuns = false;
};

// Writes the image beside `path` and renames it over it, so a failure leaves no half file.
// False (with the reason) when the image is empty or the file cannot be written.
bool writePaletteImage(const std::string& path, const PaletteImage& image, std::string* reason = nullptr);

// The same PNG in memory; empty when it cannot be made.
std::string encodePaletteImage(const PaletteImage& image);

} // namespace tarnova
