// The pure parts of the window backend: key translation, menu labels, where the pane is shown.
#include "display/sdl/frameLayout.hpp"
#include "display/sdl/keyCodes.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tarnova::sdl {
namespace {

TEST(WindowKeys, KeysWithoutCharacterGiveClassicScanCodes)
{
    struct Case {
        SDL_Keycode key;
        unsigned modifiers;
        int code;
    };
    const Case cases[] = {
        {SDLK_UP, 0, 72},       {SDLK_DOWN, 0, 80},      {SDLK_LEFT, 0, 75},     {SDLK_RIGHT, 0, 77},
        {SDLK_HOME, 0, 71},     {SDLK_END, 0, 79},       {SDLK_PAGEUP, 0, 73},   {SDLK_PAGEDOWN, 0, 81},
        {SDLK_INSERT, 0, 82},   {SDLK_DELETE, 0, 83},    {SDLK_F1, 0, 59},       {SDLK_F5, 0, 63},
        {SDLK_F10, 0, 68},      {SDLK_F11, 0, 133},      {SDLK_F12, 0, 134},     {SDLK_TAB, KMOD_LSHIFT, 15},
        // The keypad navigates while Num Lock is off.
        {SDLK_KP_8, 0, 72},     {SDLK_KP_3, 0, 81},      {SDLK_KP_PERIOD, 0, 83},
    };
    for (const Case& c : cases) {
        const KeyPress press = translateKeyDown(c.key, c.modifiers);
        EXPECT_TRUE(press.produced) << c.key;
        EXPECT_EQ(press.character, 0) << c.key;
        EXPECT_EQ(press.code, c.code) << c.key;
    }
}

TEST(WindowKeys, ControlKeysGiveTheirCharactersAndPrintablesComeAsText)
{
    struct Case {
        SDL_Keycode key;
        unsigned modifiers;
        int character;
    };
    const Case cases[] = {
        {SDLK_RETURN, 0, 13}, {SDLK_KP_ENTER, 0, 13}, {SDLK_BACKSPACE, 0, 8},
        {SDLK_ESCAPE, 0, 27}, {SDLK_TAB, 0, 9},       {SDLK_c, KMOD_LCTRL, 3},
    };
    for (const Case& c : cases) {
        const KeyPress press = translateKeyDown(c.key, c.modifiers);
        EXPECT_TRUE(press.produced) << c.key;
        EXPECT_EQ(press.character, c.character) << c.key;
    }
    // Letters, digits and the keypad with Num Lock on arrive as text input instead.
    EXPECT_FALSE(translateKeyDown(SDLK_a, 0).produced);
    EXPECT_FALSE(translateKeyDown(SDLK_7, KMOD_LSHIFT).produced);
    EXPECT_FALSE(translateKeyDown(SDLK_KP_8, KMOD_NUM).produced);
    EXPECT_FALSE(translateKeyDown(SDLK_LSHIFT, 0).produced);
}

TEST(WindowKeys, TextInputPassesAsciiAndDropsWhatHasNoSingleByteForm)
{
    EXPECT_EQ(textInputCharacters("42"), (std::vector<int>{'4', '2'}));
    EXPECT_EQ(textInputCharacters("a\xC3\xA9z"), (std::vector<int>{'a', 'z'}));  // e acute dropped
    EXPECT_EQ(textInputCharacters("\xE2\x82\xAC-"), (std::vector<int>{'-'}));    // euro sign dropped
    EXPECT_TRUE(textInputCharacters("").empty());
}

TEST(WindowMenus, LabelsGiveAccessLetterAndShortcut)
{
    struct Case {
        const char* text;
        const char* label;
        int accessIndex;
        char accessKey;
        const char* shortcut;
    };
    const Case cases[] = {
        {"E&xit", "Exit", 1, 'x', ""},
        {"&Window", "Window", 0, 'w', ""},
        {"&Full Screen  Alt+Enter", "Full Screen", 0, 'f', "Alt+Enter"},
        {"Save\tCtrl+S", "Save", -1, 0, "Ctrl+S"},
        {"Fish && &Chips", "Fish & Chips", 7, 'c', ""},
        {"Trailing&", "Trailing", -1, 0, ""},
    };
    for (const Case& c : cases) {
        const MenuLabel label = parseMenuLabel(c.text);
        EXPECT_EQ(label.label, c.label) << c.text;
        EXPECT_EQ(label.accessIndex, c.accessIndex) << c.text;
        EXPECT_EQ(label.accessKey, c.accessKey) << c.text;
        EXPECT_EQ(label.shortcut, c.shortcut) << c.text;
    }
}

TEST(WindowLayout, PaneIsShownPixelForPixelAtDefaultSizeAndScaledWithAspectOtherwise)
{
    const int bars = menuBarHeight + statusLineHeight;
    struct Case {
        int outWidth, outHeight;
        Rect expected;
    };
    const Case cases[] = {
        {1000, 700 + bars, {0, menuBarHeight, 1000, 700}},        // default size: 1:1
        {2000, 1400 + bars, {0, menuBarHeight, 2000, 1400}},      // twice the size
        {500, 1000 + bars, {0, menuBarHeight + 325, 500, 350}},   // too narrow: bands above and below
        {3000, 700 + bars, {1000, menuBarHeight, 1000, 700}},     // too wide: bands left and right
        {1000, bars, {0, menuBarHeight, 0, 0}},                   // no room at all
    };
    for (const Case& c : cases) {
        const Rect r = paneRect(c.outWidth, c.outHeight, 1000, 700);
        EXPECT_EQ(r.x, c.expected.x) << c.outWidth << 'x' << c.outHeight;
        EXPECT_EQ(r.y, c.expected.y) << c.outWidth << 'x' << c.outHeight;
        EXPECT_EQ(r.w, c.expected.w) << c.outWidth << 'x' << c.outHeight;
        EXPECT_EQ(r.h, c.expected.h) << c.outWidth << 'x' << c.outHeight;
    }
}

// A pane with, for each of the 16 text colours, a one-pixel horizontal and vertical line on a
// ground of white (black for white lines), as a drawing leaves them.
std::vector<std::uint8_t> linesPane(int w, int h)
{
    std::vector<std::uint8_t> pane(static_cast<std::size_t>(w) * h, 15);
    for (int c = 0; c < 16; ++c) {
        const int top = 10 + 20 * c;
        for (int y = top; y < top + 20; ++y)
            for (int x = 0; x < w; ++x) pane[static_cast<std::size_t>(y) * w + x] = c == 15 ? 0 : 15;
        for (int x = 21; x < 200; ++x) pane[static_cast<std::size_t>(top + 7) * w + x] = static_cast<std::uint8_t>(c);
        for (int y = top + 2; y < top + 18; ++y) pane[static_cast<std::size_t>(y) * w + 251] = static_cast<std::uint8_t>(c);
    }
    return pane;
}

TEST(WindowShrink, EveryOnePixelLineKeepsItsColourAtHalfAndThreeQuarterScale)
{
    const int w = 320, h = 340;
    const std::vector<std::uint8_t> pane = linesPane(w, h);
    for (const double scale : {0.5, 0.75, 0.3}) {
        const int tw = static_cast<int>(w * scale), th = static_cast<int>(h * scale);
        std::vector<std::uint8_t> shown(static_cast<std::size_t>(tw) * th);
        shrinkKeepingLines(pane.data(), w, h, shown.data(), tw, th);
        auto at = [&](int sx, int sy) {  // the shown pixel whose block holds source pixel (sx, sy)
            int tx = tw - 1, ty = th - 1;
            while (static_cast<long long>(tx) * w / tw > sx) --tx;
            while (static_cast<long long>(ty) * h / th > sy) --ty;
            return shown[static_cast<std::size_t>(ty) * tw + tx];
        };
        for (int c = 0; c < 16; ++c) {
            const int top = 10 + 20 * c;
            for (int x = 21; x < 200; ++x) ASSERT_EQ(at(x, top + 7), c) << "horizontal " << c << " at " << scale;
            for (int y = top + 2; y < top + 18; ++y) ASSERT_EQ(at(251, y), c) << "vertical " << c << " at " << scale;
            EXPECT_EQ(at(120, top + 15), c == 15 ? 0 : 15) << "ground " << c << " at " << scale;
        }
    }
}

TEST(WindowShrink, SameSizeIsTheSourcePixelForPixel)
{
    const int w = 320, h = 340;
    const std::vector<std::uint8_t> pane = linesPane(w, h);
    std::vector<std::uint8_t> shown(pane.size());
    shrinkKeepingLines(pane.data(), w, h, shown.data(), w, h);
    EXPECT_EQ(shown, pane);
}

} // namespace
} // namespace tarnova::sdl
