#pragma once
// The menu set-up the display layer calls once while it builds the frame (Strakon and Curvella;
// Pickara has its own, without an Exit item).

namespace tarnova {

// Maximises the frame and appends "&Window", "&Full Screen  Alt+Enter" and "E&xit" to menu 1.
bool menuSetup();

} // namespace tarnova
