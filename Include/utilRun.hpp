#pragma once
// The menu set-up the display layer calls once while it builds the frame (Strakon and Curvella;
// Pickara has its own, without an Exit item).

#include "display/Display.hpp"

namespace tarnova {

// The pane of a program beyond the classic three (Flexura, Sagoma, Collaudo): configured with
// `title` (tried twice, as the classic programs do), the text layer cleared to background 0 with
// text colour 7 and no cursor, the palette loaded and the exit request reset. Returns the pane's
// configuration.
WindowConfig openProgramPane(const char* title);

// Maximises the frame and appends "&Window", "&Full Screen  Alt+Enter" and "E&xit" to menu 1.
bool menuSetup();

} // namespace tarnova
