#pragma once
// Geometry of the frame (menu bar, pane, status line), the reading of menu item texts and the
// frame's exit status. Pure, shared by the window backend and its tests.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnova::sdl {

// Status with which the program ends when its frame is closed while it is still working.
inline constexpr int closedWhileRunningStatus = 3;

inline constexpr int menuBarHeight = 22;
inline constexpr int statusLineHeight = 22;
inline constexpr int uiFontPixels = 14;
// Drop-down items, from the menu bar's lower edge down (after a 2-pixel border).
inline constexpr int dropItemHeight = 22;
inline constexpr int dropBorder = 2;

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// Where the pane image is shown in a client area of outWidth x outHeight: between the menu bar
// and the status line, scaled to fit with its aspect kept, centred. At the frame's default size
// the image is shown pixel for pixel directly below the menu bar.
Rect paneRect(int outWidth, int outHeight, int paneWidth, int paneHeight);

// Shrinks an indexed image (rows top first) so that no line or text stroke is lost. Each target
// pixel stands for a block of source pixels and takes the colour of that block which is rarest
// in the block's neighbourhood (the block widened by one block on every side): the ink of a
// thin line or stroke, not the ground it is drawn on. A block of one colour keeps it. Where the
// target is not smaller along an axis, a block is one source pixel (nearest) along it.
void shrinkKeepingLines(const std::uint8_t* source, int sourceWidth, int sourceHeight, std::uint8_t* target,
                        int targetWidth, int targetHeight);

// A menu item text such as "E&xit" or "&Full Screen  Alt+Enter": the label shown ("Exit",
// "Full Screen"), the position of its access letter in the label (-1 when none), the access
// letter in lower case (0 when none) and the shortcut shown at the right ("Alt+Enter"). "&&"
// stands for a literal "&".
struct MenuLabel {
    std::string label;
    int accessIndex = -1;
    char accessKey = 0;
    std::string shortcut;
};
MenuLabel parseMenuLabel(std::string_view text);

} // namespace tarnova::sdl
