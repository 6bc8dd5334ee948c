#include "curvellaLaunch.hpp"

#include "records/Records.hpp"

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <thread>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarnova::flexura {

namespace {
constexpr int handOverUnit = 222;
} // namespace

std::string curvellaProgram()
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    for (const fs::path& candidate : {self.parent_path() / "Curvella", self.parent_path().parent_path() / "Curvella" / "Curvella"}) {
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

std::string openInCurvella(const std::string& curvePath, int element, std::function<void()> ended)
{
    openUnit(handOverUnit, "nElem.txt");
    rewindUnit(handOverUnit);
    writeRecords(handOverUnit, "(I4)", {static_cast<std::int32_t>(element)});
    closeUnit(handOverUnit);

    const std::string program = curvellaProgram();
    if (program.empty()) return "nElem.txt holds element " + std::to_string(element) + "; Curvella was not found beside Flexura";
    std::string programArgument = program, curveArgument = curvePath;
    char* arguments[] = {programArgument.data(), curveArgument.data(), nullptr};
    pid_t child = 0;
    const int failure = ::posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ);
    if (failure != 0) return "Curvella could not be started: " + std::string(std::strerror(failure));
    // A thread waits for this run alone; it ends with it.
    std::thread([child, ended = std::move(ended)] {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (ended) ended();
    }).detach();
    return "Curvella shows element " + std::to_string(element) + " of " + curvePath;
}

void reapFinishedChildren()
{
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

} // namespace tarnova::flexura
