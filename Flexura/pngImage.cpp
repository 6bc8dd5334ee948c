#include "pngImage.hpp"

#include "commandLine.hpp"
#include "display/paneImage.hpp"

namespace tarnova::flexura {

namespace {

// Flat areas of a few colours, run-length deflated; the suite's version and build in the
// "Software" text chunk: an image tells which program made it.
PaletteImage paletteImage(const PaneCopy& copy)
{
    PaletteImage image = paletteImageOf(copy);
    image.flatRuns = true;
    image.textKey = "Software";
    image.text = "TARNOVA " + versionLine();
    return image;
}

} // namespace

bool writePng(const std::string& fileName, const PaneCopy& image, std::string* reason)
{
    return writePaletteImage(fileName, paletteImage(image), reason);
}

std::string encodePng(const PaneCopy& image)
{
    return encodePaletteImage(paletteImage(image));
}

bool saveScreenPng(const std::string& fileName, int paneWidth, int paneHeight, std::string* reason)
{
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    return writePng(fileName, copyPane(0, 0, paneWidth - 1, paneHeight - 1), reason);
}

} // namespace tarnova::flexura
