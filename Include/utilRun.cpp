// The menu set-up of Strakon and Curvella.

#include "utilRun.hpp"

#include "Utilitar.hpp"
#include "cores.hpp"
#include "display/Display.hpp"

#include <cstring>

namespace tarnova {

namespace {
constexpr int maximised = 2;
constexpr int plainItem = 4;
constexpr int plainItemAlt = 32;
} // namespace

WindowConfig openProgramPane(const char* title)
{
    showTextCursor(0);
    WindowConfig config;
    std::strncpy(config.title, title, sizeof config.title - 1);
    if (!configureWindow(config)) configureWindow(config);
    setWindowState(defaultUnit, 2);
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
    loadPalette();
    resetRequests();
    return config;
}

bool menuSetup()
{
    setWindowState(frameWindow, maximised);
    appendMenuItem(1, plainItem, "&Window", windowCommand);
    appendMenuItem(1, plainItemAlt, "&Full Screen  Alt+Enter", fullScreenCommand);
    appendMenuItem(1, plainItem, "E&xit", exitHandler);
    return true;
}

} // namespace tarnova
