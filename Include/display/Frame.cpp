// The frame around the pane: configuration, menu tree, status line, exit behaviour and
// message boxes.

#include "display/Layer.hpp"
#include "records/Records.hpp"

#include <cstdio>
#include <cstring>
#include <string>

namespace tarnova {

namespace {
bool allUnset(const char* bytes, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (bytes[i] != -1) return false;
    return true;
}
} // namespace

bool configureWindow(WindowConfig& config)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    auto& d = displayState();
    bool accepted = true;
    // The pane and the grid have the size the backend gave them; only that size (or the
    // default) is accepted.
    auto check = [&](auto& field, int value) {
        if (field != -1 && field != value) {
            field = -1;
            accepted = false;
        }
    };
    check(config.width, d.paneWidth);
    check(config.height, d.paneHeight);
    check(config.textColumns, s.columns);
    check(config.textRows, s.rows);
    if (config.colourCount != -1 && config.colourCount != 16 && config.colourCount != 256) {
        config.colourCount = -1;
        accepted = false;
    }
    // The grid's cell size, packed as it is reported back (width in the high half).
    constexpr std::int32_t cellSize = (layer::cellWidth << 16) | layer::cellHeight;
    check(config.fontSize, cellSize);
    check(config.extFontSize, -1);
    check(config.fontAttributes, -1);
    if (!allUnset(config.fontName, sizeof config.fontName) && config.fontName[0] != 0) {
        std::memset(config.fontName, -1, sizeof config.fontName);
        accepted = false;
    }
    if (!accepted) return false;

    s.colourCount = config.colourCount == 16 ? 16 : 256;
    config.width = static_cast<std::int16_t>(d.paneWidth);
    config.height = static_cast<std::int16_t>(d.paneHeight);
    config.textColumns = static_cast<std::int16_t>(s.columns);
    config.textRows = static_cast<std::int16_t>(s.rows);
    config.colourCount = static_cast<std::int16_t>(s.colourCount);
    config.fontSize = cellSize;
    config.title[sizeof config.title - 1] = 0;
    if (config.title[0] != 0) d.title = config.title;
    layer::changed();
    return true;
}

int setWindowState(int window, int state, int x, int y, int width, int height)
{
    (void)window;
    (void)x;
    (void)y;
    (void)width;
    (void)height;
    // The frame is always shown maximised and the pane fills it; the request is acknowledged.
    return state >= 1 && state <= 4 ? 1 : 0;
}

bool appendMenuItem(int menu, int flags, std::string_view text, MenuHandler handler)
{
    auto guard = layer::lock();
    layer::state();
    auto& bar = displayState().menuBar;
    if (menu < 1 || text.empty()) return false;
    MenuEntry entry{std::string(text), flags, handler, {}};
    if (menu > static_cast<int>(bar.size())) bar.push_back(std::move(entry));
    else bar[static_cast<std::size_t>(menu - 1)].items.push_back(std::move(entry));
    layer::changed();
    return true;
}

void windowCommand(bool checked)
{
    (void)checked;
    if (Backend* b = displayState().backend) b->windowCommand();
}

void takeKeyboardFocus()
{
    // Under the lock: the backend is let go under it when the program ends.
    auto guard = layer::lock();
    if (Backend* backend = displayState().backend) backend->takeFocus();
}

void fullScreenCommand(bool checked)
{
    (void)checked;
    if (Backend* b = displayState().backend) b->toggleFullScreen();
}

void setExitBehaviour(int mode)
{
    auto guard = layer::lock();
    if (mode >= 1 && mode <= 3) displayState().exitBehaviour = mode;
}

void setWorkComplete(bool complete)
{
    auto guard = layer::lock();
    displayState().workComplete = complete;
}

void setStatusText(std::string_view text, int kind)
{
    auto guard = layer::lock();
    auto& d = displayState();
    if (kind < 0 || kind >= static_cast<int>(d.statusTexts.size())) return;
    d.statusTexts[static_cast<std::size_t>(kind)] = std::string(text);
    layer::changed();
}

int showMessageBox(std::string_view text, std::string_view caption, int style)
{
    Backend* backend = nullptr;
    {
        auto guard = layer::lock();
        layer::state();
        layer::flushEcho();
        backend = displayState().backend;
    }
    // The box is modal: it is waited for without the display lock.
    if (backend) return backend->messageBox(text, caption, style);
    const std::string shown = escapeControlBytes(caption, true) + ": " + escapeControlBytes(text, true) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), stderr);
    return 1;
}

} // namespace tarnova
