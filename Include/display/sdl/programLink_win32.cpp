// Windows: the window module's stand-ins for the display-layer functions it calls, forwarded
// to the program that loaded it through the table the program exports (tarnovaProgramLink).

#include "display/programLink_win32.hpp"
#include "Utilitar.hpp"

#include <cstdlib>
#include <windows.h>

namespace tarnova {

namespace {
const win32::ProgramLink& program()
{
    static const win32::ProgramLink* link = [] {
        using Get = const win32::ProgramLink* (*)();
        auto get = reinterpret_cast<Get>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), "tarnovaProgramLink")));
        return get != nullptr ? get() : nullptr;
    }();
    return *link;
}
} // namespace

DisplayState& displayState() { return program().displayState(); }
void exitHandler(bool checked) { program().exitHandler(checked); }
bool waitForExitRequest() { return program().waitForExitRequest(); }
void Backend::textLine(std::string_view line) { program().textLine(*this, line); }
InputEvent Backend::nextInput() { return program().nextInput(*this); }
void exitProgram(int status)
{
    program().exitProgram(status);
    std::abort();   // the program's own exit does not return
}

} // namespace tarnova
