#pragma once
// Pickara's menu set-up. The chooser ends by itself once a number is chosen, so its menu has no
// Exit item.

namespace tarnova::pickara {

// Maximises the frame and appends "&Window" and "&Full Screen  Alt+Enter" to the first menu,
// with the layer's own handlers. Called once by the display layer while it builds the frame.
bool menuSetup();

} // namespace tarnova::pickara
