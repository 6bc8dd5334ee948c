#include "interactionChart.hpp"

#include "assessmentFiles.hpp"
#include "display/Display.hpp"
#include "replaceFile.hpp"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>

namespace tarnova::collaudo {

namespace {

constexpr int axisColour = 7, curveColour = 11, saggingColour = 14, hoggingColour = 13, textColour = 15;

bool encode(std::FILE* file, const PaneCopy& image)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    // libpng reports its errors by a long jump back here.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int used = image.pixels.empty() ? 1 : *std::max_element(image.pixels.begin(), image.pixels.end()) + 1;
    png_color palette[256];
    for (int i = 0; i < used; ++i) {
        const std::uint32_t c = image.palette[static_cast<std::size_t>(i)];
        palette[i] = {static_cast<png_byte>(c), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c >> 16)};
    }
    png_set_PLTE(png, info, palette, used);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

void text(int x, int y, const std::string& s)
{
    moveTo(x, y);
    drawGraphicText(s);
}

} // namespace

void drawInteractionChart(const Assessment& a, const Limits& limits, int paneWidth, int paneHeight)
{
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    setBackgroundColour(0);
    clearScreen(0);
    selectFont("t'arial'h14w7e");
    // A square plot, the vertical moment upwards (sagging positive), the horizontal to the right.
    double reach = 0;
    for (const InteractionPoint& p : a.interaction) reach = std::max(reach, p.ultimate);
    for (const Condition& c : limits.conditions) {
        reach = std::max(reach, c.gammaS * c.mswSagging + c.gammaW * c.mwvSagging);
        reach = std::max(reach, c.gammaS * c.mswHogging + c.gammaW * c.mwvHogging);
    }
    if (reach <= 0) reach = 1;
    reach *= 1.1;
    const int size = std::max(100, std::min(paneWidth - 240, paneHeight - 80));
    const int left = 60, top = 40;
    setViewport(left, top, left + size, top + size);
    setRealWindow(true, -reach, -reach, reach, reach);
    setColour(axisColour);
    moveToReal(-reach, 0);
    lineToReal(reach, 0);
    moveToReal(0, -reach);
    lineToReal(0, reach);
    drawRectangleReal(2, -reach, -reach, reach, reach);
    // The curve, closed over the full turn.
    setColour(curveColour);
    for (std::size_t i = 0; i <= a.interaction.size() && !a.interaction.empty(); ++i) {
        const InteractionPoint& p = a.interaction[i % a.interaction.size()];
        if (i == 0) moveToReal(p.horizontal, p.vertical);
        else lineToReal(p.horizontal, p.vertical);
    }
    for (const InteractionPoint& p : a.interaction) {
        const double r = reach / 150;
        drawEllipseReal(p.peakReached ? 3 : 2, p.horizontal - r, p.vertical - r, p.horizontal + r, p.vertical + r);
    }
    // Design points: gammaS Msw + gammaW Mwv on the vertical axis, sagging up, hogging down.
    const double r = reach / 80;
    for (const Condition& c : limits.conditions) {
        const double s = c.gammaS * c.mswSagging + c.gammaW * c.mwvSagging;
        const double h = c.gammaS * c.mswHogging + c.gammaW * c.mwvHogging;
        setColour(saggingColour);
        drawRectangleReal(3, -r, s - r, r, s + r);
        setColour(hoggingColour);
        drawRectangleReal(3, -r, -h - r, r, -h + r);
    }
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    setColour(textColour);
    text(left, 12, "Interaction of vertical and horizontal bending at Mu, " + a.caseName + " (kN.m)");
    text(left + size / 2 + 6, top + 4, "sagging Mv");
    text(left + size / 2 + 6, top + size - 18, "hogging");
    text(left + size - 30, top + size / 2 + 6, "Mh");
    text(left, top + size + 10, "scale: frame at +/- " + plain(reach, 0));
    const int keyX = left + size + 20;
    int y = top;
    setColour(curveColour);
    text(keyX, y, "Mu over " + std::to_string(a.interaction.size()) + " angles");
    y += 20;
    setColour(curveColour);
    text(keyX, y, "open dot: peak not reached");
    y += 20;
    setColour(saggingColour);
    text(keyX, y, "design M, sagging");
    y += 20;
    setColour(hoggingColour);
    text(keyX, y, "design M, hogging");
}

bool savePanePng(const std::string& fileName, int paneWidth, int paneHeight)
{
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    const PaneCopy image = copyPane(0, 0, paneWidth - 1, paneHeight - 1);
    if (image.width < 1 || image.height < 1) return false;
    return replaceFileWith(fileName, [&image](std::FILE* file) { return encode(file, image); });
}

} // namespace tarnova::collaudo
