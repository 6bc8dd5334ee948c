// Windows: the real window comes from tarnovaWindow.dll beside the program, loaded with
// LoadLibraryW only when the process has an interactive desktop. A module that cannot be
// loaded leaves the run headless, with one line on standard error.

#include "display/Backend.hpp"
#include "display/programLink_win32.hpp"
#include "Utilitar.hpp"

#include <cstdio>
#include <string>
#include <windows.h>

namespace tarnova {

namespace {

std::wstring programDirectory()
{
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return {};
    path.resize(n);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// A service or a session without a desktop has an invisible window station.
bool interactiveDesktop()
{
    USEROBJECTFLAGS flags{};
    HWINSTA station = GetProcessWindowStation();
    if (station == nullptr) return false;
    if (!GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr)) return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

} // namespace

std::unique_ptr<Backend> makeWindowBackend()
{
    if (!interactiveDesktop()) return nullptr;
    const std::wstring place = programDirectory() + L"tarnovaWindow.dll";
    if (GetFileAttributesW(place.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "No window (tarnovaWindow.dll not found): running without one.\n");
        return nullptr;
    }
    HMODULE module = LoadLibraryW(place.c_str());
    if (module == nullptr) {
        std::fprintf(stderr, "No window (tarnovaWindow.dll cannot be loaded, Windows error %lu): running without one.\n",
                     GetLastError());
        return nullptr;
    }
    using Factory = Backend* (*)();
    auto factory = reinterpret_cast<Factory>(reinterpret_cast<void*>(GetProcAddress(module, "tarnovaWindowBackend")));
    if (factory != nullptr) return std::unique_ptr<Backend>(factory());
    std::fprintf(stderr, "No window (tarnovaWindow.dll has no window backend): running without one.\n");
    return nullptr;
}

} // namespace tarnova

extern "C" __declspec(dllexport) const tarnova::win32::ProgramLink* tarnovaProgramLink()
{
    static const tarnova::win32::ProgramLink link{
        &tarnova::displayState,
        &tarnova::exitHandler,
        &tarnova::waitForExitRequest,
        [](tarnova::Backend& backend, std::string_view line) { backend.Backend::textLine(line); },
        [](tarnova::Backend& backend) { return backend.Backend::nextInput(); },
        [](int status) { tarnova::exitProgram(status); },
    };
    return &link;
}
