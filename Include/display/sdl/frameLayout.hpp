#pragma once
// Geometry of the frame (menu bar, pane, status line), the reading of menu item texts and the
// frame's exit status. Pure, shared by the window backend and its tests.

#include <cstdint>
#include <functional>
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
// the image is shown pixel for pixel directly below the menu bar. The frame uses it only where the
// area holds the whole pane (paneView); smaller areas show the pane 1:1 and scroll.
Rect paneRect(int outWidth, int outHeight, int paneWidth, int paneHeight);

// Where the pane is shown and which part of it. A client area that holds the whole pane shows it
// as paneRect says (1:1 at the default size, enlarged in blocks when larger). One smaller than
// the pane along either axis shows it 1:1, never shrunk (shrinking blurs or changes digits):
// along such an axis the shown part starts at the scroll offset and a scroll bar of
// scrollBarThickness pixels lies beside the pane; along an axis with room it is centred.
inline constexpr int scrollBarThickness = 10;
struct PaneView {
    Rect shown;                 // client area showing the pane
    Rect source;                // the part of the pane shown there
    bool oneToOne = true;       // shown.w == source.w and shown.h == source.h
    Rect horizontalBar;         // w 0 when the pane fits across
    Rect verticalBar;           // h 0 when the pane fits down
};
// scrollX and scrollY are held to the offsets the view can take (0 when the pane fits).
PaneView paneView(int outWidth, int outHeight, int paneWidth, int paneHeight, int& scrollX, int& scrollY);
// The thumb of a scroll bar: the shown part of the pane along the bar.
Rect scrollThumb(const Rect& bar, bool horizontal, int offset, int shownSize, int paneSize);

// The text as it fits in maxWidth pixels (width measures a text): whole, or its longest beginning
// that fits followed by "...", the blanks before the dots left out.
std::string fitWithEllipsis(std::string_view text, int maxWidth, const std::function<int(std::string_view)>& width);

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
