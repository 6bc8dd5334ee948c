// The real window comes from a module loaded at run time, and only when a display is reachable:
// a headless run never maps SDL2 and the window-system, audio and sound-file libraries it brings.
// A module that cannot be loaded leaves the run headless, with one line on standard error.

#include "display/Backend.hpp"
#include "display/BuiltinFonts.hpp"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tarnova {

namespace {

constexpr const char* moduleName = "tarnovaWindow.so";
// Beside a program in the build tree only: one line, the directory the module is built into.
constexpr const char* buildTreeMarker = "tarnovaBuildTree";

bool set(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// The program's own directory.
std::string programDirectory()
{
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    std::string directory(path, static_cast<std::size_t>(n));
    return directory.substr(0, directory.rfind('/') + 1);
}

// The module's directory in the build tree when the program runs from there, else empty.
std::string buildTreeModuleDirectory(const std::string& programDirectory)
{
    std::ifstream marker(programDirectory + buildTreeMarker);
    std::string directory;
    if (!std::getline(marker, directory) || directory.empty()) return {};
    return directory + "/";
}

} // namespace

std::unique_ptr<Backend> makeWindowBackend()
{
    // X11, Wayland, or a video driver named for SDL.
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("SDL_VIDEODRIVER")) return nullptr;
    // Beside the program, in its installed library directory, or where the build tree's marker
    // beside the program says: never a path compiled in.
    const std::string here = programDirectory();
    const std::string buildTree = buildTreeModuleDirectory(here);
    const std::string places[] = {here + moduleName, here + "../lib/tarnova/" + moduleName,
                                  buildTree.empty() ? std::string() : buildTree + moduleName};
    std::string failure;
    for (const std::string& place : places) {
        if (place.empty() || ::access(place.c_str(), F_OK) != 0) continue;
        void* module = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            failure = ::dlerror();
            break;
        }
        // The module draws its frame text with the program's built-in faces: this reference keeps
        // them in every program that can load it, exported for it.
        [[maybe_unused]] static const auto keepFonts = &fonts::builtinFonts;
        using Factory = Backend* (*)();
        auto factory = reinterpret_cast<Factory>(::dlsym(module, "tarnovaWindowBackend"));
        if (factory != nullptr) return std::unique_ptr<Backend>(factory());
        failure = place + " has no window backend";
        break;
    }
    if (failure.empty()) failure = std::string(moduleName) + " not found";
    std::fprintf(stderr, "No window (%s): running without one.\n", failure.c_str());
    return nullptr;
}

} // namespace tarnova
