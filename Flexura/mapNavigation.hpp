#pragma once
// The keys of Flexura's window: what each does to the screen shown, the case study, the step and
// the element chosen on the map. Kept apart from the drawing so that it can be tested as a table.
//
//   Tab          switches between the chart and the map (and the interaction, after Collaudo)
//   Left, Right  one step back or on;  Home, End  the first and the last step;  U  the ultimate step
//   PgUp, PgDn   the previous and the next case study
//   Up, Down     the previous and the next element (the keyboard's way of choosing one)
//   Enter        on the map: hands the element chosen to Curvella; on the chart: shows the map

#include "caseData.hpp"
#include "collapseMap.hpp"

namespace tarnova::flexura {

enum class Screen { chart, map, interaction };   // interaction: when Collaudo has run

struct ViewState {
    Screen screen = Screen::chart;
    MapView map;
};

enum class Action {
    none,           // nothing changed
    redraw,         // the screen shown changed
    openCurvella,   // write nElem.txt and start Curvella on the element chosen
    noElement,      // Enter on the map with no element chosen
    save,           // write every image and table
    exit,
};

// Codes of keys without a character that the menu handlers post to wake the program.
inline constexpr int saveKeyCode = 250;
inline constexpr int exitKeyCode = 251;

// A key as readKey gives it: `character`, or 0 and the `code` of a key without one.
Action applyKey(ViewState& view, const CaseData& data, int character, int code);

// A click of the mouse at pane pixel (x, y): on the map, the element drawn there becomes the one
// chosen (redraw; its description follows on the status line); a double-click on it also hands
// it to Curvella. A click beside every element, or on the chart, does nothing.
Action applyClick(ViewState& view, const CaseData& data, const MapLayout& layout, int x, int y, bool doubleClick);

} // namespace tarnova::flexura
