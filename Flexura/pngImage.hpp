#pragma once
// Palette PNG images of the pane, through libpng.

#include "display/Display.hpp"

#include <string>

namespace tarnova::flexura {

// Writes the copy as an 8-bit palette PNG holding the palette entries up to the highest index
// used, with the suite's version and build in its "Software" text chunk. Written beside the target and renamed over it, so a failure leaves no half file.
// False when the file cannot be written.
bool writePng(const std::string& fileName, const PaneCopy& image, std::string* reason = nullptr);

// The same PNG in memory; empty when it cannot be made.
std::string encodePng(const PaneCopy& image);

// The whole pane as a PNG (the viewport is reset to the whole pane first).
bool saveScreenPng(const std::string& fileName, int paneWidth, int paneHeight, std::string* reason = nullptr);

} // namespace tarnova::flexura
