// Platform services: command-line arguments, directories, clock and date.

#include "display/TestHooks.hpp"
#include "display/Layer.hpp"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace tarnova {

namespace {
std::mutex argumentMutex;
std::vector<std::string>& arguments()
{
    static std::vector<std::string> list;
    return list;
}

std::tm localNow(int& milliseconds)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    milliseconds = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    if (milliseconds < 0) milliseconds += 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}
} // namespace

namespace inspect {
void setArguments(std::vector<std::string> list)
{
    std::lock_guard<std::mutex> guard(argumentMutex);
    arguments() = std::move(list);
}
} // namespace inspect

int getArgument(int index, FixedText& buffer)
{
    std::lock_guard<std::mutex> guard(argumentMutex);
    const auto& list = arguments();
    if (index < 0 || index >= static_cast<int>(list.size())) {
        buffer.blank();
        return 0;
    }
    const std::string& argument = list[static_cast<std::size_t>(index)];
    buffer = argument;
    // The length never exceeds the buffer, so a caller indexing by it stays inside.
    return static_cast<int>(std::min(argument.size(), buffer.length()));
}

int getCurrentDirectory(FixedText& buffer)
{
    std::vector<char> path(4096);
    if (!getcwd(path.data(), path.size())) return 0;
    const std::string_view directory(path.data());
    // A directory that does not fit would be a different directory: that is a failure.
    if (directory.empty() || directory.size() > buffer.length()) return 0;
    buffer = directory;
    return static_cast<int>(directory.size());
}

bool changeDirectory(std::string_view directory)
{
    std::string path(directory);
    path.erase(path.find_last_not_of(' ') + 1);
    if (path.empty()) return false;
    return chdir(path.c_str()) == 0;
}

TimeOfDay getTimeOfDay()
{
    int milliseconds = 0;
    const std::tm t = localNow(milliseconds);
    return {static_cast<std::int16_t>(t.tm_hour), static_cast<std::int16_t>(t.tm_min),
            static_cast<std::int16_t>(t.tm_sec), static_cast<std::int16_t>(milliseconds / 10)};
}

Date getDate()
{
    int milliseconds = 0;
    const std::tm t = localNow(milliseconds);
    return {static_cast<std::int16_t>(t.tm_year + 1900), static_cast<std::int16_t>(t.tm_mon + 1),
            static_cast<std::int16_t>(t.tm_mday)};
}

} // namespace tarnova
