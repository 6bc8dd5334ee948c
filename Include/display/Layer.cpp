// The one display state of the process and the start values of the text and graphics layers.

#include "display/Layer.hpp"

#include <algorithm>
#include <utility>

namespace tarnova {

DisplayState& displayState()
{
    static DisplayState state;
    return state;
}

namespace layer {

namespace {
State& rawState()
{
    static State s;
    return s;
}
} // namespace

std::unique_lock<std::mutex> lock()
{
    return std::unique_lock<std::mutex>(displayState().mutex);
}

State& state()
{
    if (displayState().pixels.empty()) initialise(1024, 768);
    return rawState();
}

void initialise(int paneWidth, int paneHeight)
{
    auto& d = displayState();
    paneWidth = std::max(paneWidth, cellWidth);
    paneHeight = std::max(paneHeight, cellHeight);
    d.paneWidth = paneWidth;
    d.paneHeight = paneHeight;
    PanePixels fresh;   // zero from the allocation: see ZeroedAllocator
    fresh.resize(static_cast<std::size_t>(paneWidth) * static_cast<std::size_t>(paneHeight));
    d.pixels.swap(fresh);
    d.rowsReached.assign(static_cast<std::size_t>(paneHeight), 0);

    State& s = rawState();
    s = State{};
    s.columns = paneWidth / cellWidth;
    s.rows = paneHeight / cellHeight;
    s.windowTop = 1;
    s.windowLeft = 1;
    s.windowBottom = s.rows;
    s.windowRight = s.columns;
    s.cells.assign(static_cast<std::size_t>(s.columns) * static_cast<std::size_t>(s.rows), Cell{});
    s.viewRight = s.clipRight = paneWidth - 1;
    s.viewBottom = s.clipBottom = paneHeight - 1;
    loadStandardPalette();
    d.generation++;
}

void changed()
{
    auto& d = displayState();
    d.generation++;
    if (d.backend) d.backend->changed();
}

void flushEcho()
{
    State& s = rawState();
    if (!s.echoPending) return;
    std::string line;
    line.swap(s.echoLine);
    s.echoPending = false;
    line.erase(line.find_last_not_of(' ') + 1);
    if (auto* b = displayState().backend) b->textLine(line);
}

PaneRectangle viewportRectangle(int x1, int y1, int x2, int y2)
{
    const State& s = state();
    const auto& d = displayState();
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    return {std::max<long>(0, long(s.viewLeft) + x1), std::max<long>(0, long(s.viewTop) + y1),
            std::min<long>(d.paneWidth - 1, long(s.viewLeft) + x2),
            std::min<long>(d.paneHeight - 1, long(s.viewTop) + y2)};
}

void fillPane(int x1, int y1, int x2, int y2, int index)
{
    auto& d = displayState();
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, d.paneWidth - 1);
    y2 = std::min(y2, d.paneHeight - 1);
    if (x1 > x2 || y1 > y2) return;
    for (int y = y1; y <= y2; ++y) {
        if (index == 0 && d.rowsReached[static_cast<std::size_t>(y)] == 0) continue;   // zero already
        std::uint8_t* row = pixelRow(y);
        std::fill(row + x1, row + x2 + 1, static_cast<std::uint8_t>(index));
    }
}

} // namespace layer
} // namespace tarnova
