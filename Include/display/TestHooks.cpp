// Read-only views into the display layer.

#include "display/TestHooks.hpp"

#include "display/Fonts.hpp"
#include "display/Layer.hpp"

namespace tarnova {
namespace keys {
void resetPendingKey();
}
namespace fonts {
// Defined with the selection in Fonts.cpp.
void describeSelection(inspect::SelectedFont& out);
void resetSelection();
} // namespace fonts

namespace inspect {

int pixelAt(int x, int y)
{
    auto guard = layer::lock();
    layer::state();
    const auto& d = displayState();
    if (x < 0 || y < 0 || x >= d.paneWidth || y >= d.paneHeight) return -1;
    return layer::pixelRow(y)[x];
}

TextCell textCell(int row, int column)
{
    auto guard = layer::lock();
    const layer::State& s = layer::state();
    if (row < 1 || column < 1 || row > s.rows || column > s.columns) return {};
    const layer::Cell& c = s.cells[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(s.columns)
                                   + static_cast<std::size_t>(column - 1)];
    return {c.ch, c.foreground, c.background};
}

int textRows()
{
    auto guard = layer::lock();
    return layer::state().rows;
}

int textColumns()
{
    auto guard = layer::lock();
    return layer::state().columns;
}

SelectedFont selectedFont()
{
    auto guard = layer::lock();
    SelectedFont out;
    fonts::describeSelection(out);
    return out;
}

void resetDisplay(int paneWidth, int paneHeight, Backend* backend)
{
    {
        auto guard = layer::lock();
        layer::initialise(paneWidth, paneHeight);
        displayState().backend = backend;
        fonts::resetSelection();
    }
    resetKeys();
}

void resetKeys() { keys::resetPendingKey(); }

} // namespace inspect
} // namespace tarnova
