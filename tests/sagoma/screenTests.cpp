// The section in the window, on an in-memory pane: drawn to scale with its corners, zoomed about
// the pointer and moved only when zoomed.

#include "sectionScreen.hpp"

#include "cores.hpp"
#include "display/Display.hpp"
#include "display/TestHooks.hpp"

#include <gtest/gtest.h>

namespace tarnova::sagoma {
namespace {

TEST(SectionScreenView, ZoomKeepsThePointerPointAndZoomOneHasNoShift)
{
    const ScreenView zoomed = zoomedAbout({}, 300, 200, 3);
    EXPECT_NEAR(zoomed.zoom, 1.953125, 1e-12);
    // The point under the pointer stays where it is.
    EXPECT_NEAR(300 * zoomed.zoom + zoomed.shiftX, 300, 1e-9);
    EXPECT_NEAR(200 * zoomed.zoom + zoomed.shiftY, 200, 1e-9);
    const ScreenView back = zoomedAbout(zoomed, 10, 10, -3);
    EXPECT_EQ(back.zoom, 1);
    EXPECT_EQ(back.shiftX, 0);
    EXPECT_EQ(dragged({}, 50, 50).shiftX, 0);   // nothing moves at zoom 1
    EXPECT_EQ(dragged(zoomed, 50, -20).shiftX, zoomed.shiftX + 50);
    EXPECT_EQ(zoomedAbout({}, 0, 0, 1000).zoom, largestZoom);
}

TEST(SectionScreen, BoxIsDrawnToScaleWithItsCornersAndNumbers)
{
    inspect::resetDisplay(1000, 800);
    loadPalette();
    loadFonts();
    selectFont("t'arial'h14w7e");
    const BuildResult r = buildSectionFile(std::string(EXAMPLES_DIR) + "/box/BOX.sec");
    ASSERT_TRUE(r.ok());
    const int hidden = drawSectionScreen(r.section, {}, 1000, 800);
    EXPECT_EQ(hidden, 0);
    // 4000 x 3000 mm in 920 x 720 pixels: 0.23 px/mm, centred up and down. The corner at (0, 0)
    // sits at the drawing's lower left, black on white.
    const double scale = 0.23, left = 40, bottom = 40 + (720 - 3000 * scale) / 2 + 3000 * scale;
    EXPECT_EQ(inspect::pixelAt(static_cast<int>(left), static_cast<int>(bottom)), 0);
    EXPECT_EQ(inspect::pixelAt(static_cast<int>(left + 2000 * scale), static_cast<int>(bottom - 1500 * scale) - 40), 15);

    // Zoomed in eight times about the corner, the corner stays where it was.
    ScreenView view;
    for (int i = 0; i < 9; ++i) view = zoomedAbout(view, left, bottom, 1);
    drawSectionScreen(r.section, view, 1000, 800);
    EXPECT_EQ(inspect::pixelAt(static_cast<int>(left), static_cast<int>(bottom)), 0);
}

} // namespace
} // namespace tarnova::sagoma
