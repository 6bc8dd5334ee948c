#pragma once
// Windows: a DLL cannot take functions from whichever program loaded it, as the window module
// does on Linux. The program exports one table of the few display-layer functions the module
// calls (tarnovaProgramLink); the module's stand-ins call through it.

#include "display/Backend.hpp"

#include <string_view>

namespace tarnova::win32 {

struct ProgramLink {
    DisplayState& (*displayState)();
    void (*exitHandler)(bool checked);
    bool (*waitForExitRequest)();
    void (*textLine)(Backend& backend, std::string_view line);
    InputEvent (*nextInput)(Backend& backend);
    void (*exitProgram)(int status);
};

} // namespace tarnova::win32

extern "C" const tarnova::win32::ProgramLink* tarnovaProgramLink();
