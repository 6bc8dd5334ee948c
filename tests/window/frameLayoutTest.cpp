// The pure parts of the window backend: key translation, menu labels, where the pane is shown.
#include "display/sdl/frameLayout.hpp"
#include "display/sdl/keyCodes.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
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

// A frame smaller than the pane shows it 1:1, never shrunk: the part at the scroll offsets, held
// to the pane, with a bar along each axis it does not fit; an axis with room centres the pane.
TEST(WindowPaneView, SmallerFramesShowThePaneOneToOneFromTheScrollOffsets)
{
    const int bars = menuBarHeight + statusLineHeight;
    const int t = scrollBarThickness;
    struct Case {
        int outWidth, outHeight, scrollX, scrollY;
        Rect shown, source;
        int heldX, heldY;
        bool across, down;
    };
    const Case cases[] = {
        // Half the size: both bars, the offsets as asked.
        {500, 350 + bars, 100, 50, {0, menuBarHeight, 500 - t, 350 - t}, {100, 50, 500 - t, 350 - t}, 100, 50, true, true},
        // Offsets beyond the pane are held to its far edge.
        {500, 350 + bars, 5000, -20, {0, menuBarHeight, 500 - t, 350 - t}, {500 + t, 0, 500 - t, 350 - t}, 500 + t, 0, true, true},
        // Wide enough but too low: scrolled down only, centred across.
        {1200, 600 + bars, 40, 30, {95, menuBarHeight, 1000, 600}, {0, 30, 1000, 600}, 0, 30, false, true},
        // 5 pixels short across: the bar across takes room down, which then needs its own bar.
        {995, 705 + bars, 3, 3, {0, menuBarHeight, 995 - t, 705 - t}, {3, 3, 995 - t, 705 - t}, 3, 3, true, true},
    };
    for (const Case& c : cases) {
        int sx = c.scrollX, sy = c.scrollY;
        const PaneView v = paneView(c.outWidth, c.outHeight, 1000, 700, sx, sy);
        const std::string where = std::to_string(c.outWidth) + "x" + std::to_string(c.outHeight);
        EXPECT_TRUE(v.oneToOne) << where;
        EXPECT_EQ(v.shown.w, v.source.w) << where;
        EXPECT_EQ(v.shown.h, v.source.h) << where;
        EXPECT_EQ((std::array{v.shown.x, v.shown.y, v.shown.w, v.shown.h}),
                  (std::array{c.shown.x, c.shown.y, c.shown.w, c.shown.h})) << where;
        EXPECT_EQ((std::array{v.source.x, v.source.y}), (std::array{c.source.x, c.source.y})) << where;
        EXPECT_EQ(sx, c.heldX) << where;
        EXPECT_EQ(sy, c.heldY) << where;
        EXPECT_EQ(v.horizontalBar.w > 0, c.across) << where;
        EXPECT_EQ(v.verticalBar.h > 0, c.down) << where;
        // The bars lie beside the shown pane, inside the client area, over none of it.
        for (const Rect& bar : {v.horizontalBar, v.verticalBar}) {
            if (bar.w == 0 || bar.h == 0) continue;
            EXPECT_GE(bar.x, 0) << where;
            EXPECT_LE(bar.x + bar.w, c.outWidth) << where;
            EXPECT_LE(bar.y + bar.h, c.outHeight - statusLineHeight) << where;
            const bool overlaps = bar.x < v.shown.x + v.shown.w && v.shown.x < bar.x + bar.w &&
                                  bar.y < v.shown.y + v.shown.h && v.shown.y < bar.y + bar.h;
            EXPECT_FALSE(overlaps) << where;
        }
    }
    // A frame that holds the pane shows all of it, as before, and forgets the offsets.
    int sx = 70, sy = 80;
    const PaneView whole = paneView(1000, 700 + bars, 1000, 700, sx, sy);
    EXPECT_EQ((std::array{whole.source.x, whole.source.y, whole.source.w, whole.source.h}), (std::array{0, 0, 1000, 700}));
    EXPECT_EQ(sx, 0);
    EXPECT_EQ(sy, 0);
    EXPECT_EQ(whole.horizontalBar.w, 0);
}

TEST(WindowStatusLine, TooLongATextIsCutAndEndsWithAnEllipsis)
{
    auto width = [](std::string_view text) { return static_cast<int>(text.size()) * 7; };
    EXPECT_EQ(fitWithEllipsis("Curvella shows element 16", 200, width), "Curvella shows element 16");
    EXPECT_EQ(fitWithEllipsis("Curvella shows element 16", 175, width), "Curvella shows element 16");
    // 174 pixels hold 24 characters: 21 and the dots, the blank before them left out.
    EXPECT_EQ(fitWithEllipsis("Curvella shows element 16", 174, width), "Curvella shows elemen...");
    EXPECT_EQ(fitWithEllipsis("Curvella shows element 16", 126, width), "Curvella shows...");
    EXPECT_EQ(fitWithEllipsis("Curvella", 10, width), "...");
}

TEST(WindowPaneView, ThumbRunsTheWholeBarFromFirstToLastOffset)
{
    const Rect bar{0, 500, 400, scrollBarThickness};
    const Rect first = scrollThumb(bar, true, 0, 400, 1000);
    const Rect last = scrollThumb(bar, true, 600, 400, 1000);
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.w, 160);
    EXPECT_EQ(last.x + last.w, 400);
}

} // namespace
} // namespace tarnova::sdl
