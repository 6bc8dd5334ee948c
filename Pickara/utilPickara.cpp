#include "utilPickara.hpp"

#include "display/Display.hpp"

namespace tarnova::pickara {

bool menuSetup()
{
    setWindowState(frameWindow, 2);
    appendMenuItem(1, 4, "&Window", windowCommand);
    appendMenuItem(1, 32, "&Full Screen  Alt+Enter", fullScreenCommand);
    return true;
}

} // namespace tarnova::pickara
