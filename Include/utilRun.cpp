// The menu set-up of Strakon and Curvella.

#include "utilRun.hpp"

#include "Utilitar.hpp"
#include "display/Display.hpp"

namespace tarnova {

namespace {
constexpr int maximised = 2;
constexpr int plainItem = 4;
constexpr int plainItemAlt = 32;
} // namespace

bool menuSetup()
{
    setWindowState(frameWindow, maximised);
    appendMenuItem(1, plainItem, "&Window", windowCommand);
    appendMenuItem(1, plainItemAlt, "&Full Screen  Alt+Enter", fullScreenCommand);
    appendMenuItem(1, plainItem, "E&xit", exitHandler);
    return true;
}

} // namespace tarnova
