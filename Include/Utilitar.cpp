// Utilitar: the exit request flag and its menu handler, small text and number routines, and the
// scaling of the nominal 640 x 480 layout to the real pane.

#include "Utilitar.hpp"

#include <condition_variable>
#include <mutex>

#include <sys/stat.h>

namespace tarnova {

std::atomic<std::int32_t> exitRequested{0};

namespace {

// The flag itself is only ever read and written atomically; the mutex and condition variable
// only let a waiting program sleep instead of polling. They are never destroyed: the headless
// backend's detached reader of standard input may wake waiters after main has returned, while
// static destructors run.
std::mutex& exitMutex()
{
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}
std::condition_variable& exitSignal()
{
    static std::condition_variable* signal = new std::condition_variable;
    return *signal;
}
bool stopWaiting = false;

} // namespace

void resetRequests()
{
    exitRequested.store(0);
    std::lock_guard<std::mutex> lock(exitMutex());
    stopWaiting = false;
}

void exitHandler(bool /*checked*/)
{
    {
        std::lock_guard<std::mutex> lock(exitMutex());
        exitRequested.store(1);
    }
    exitSignal().notify_all();
}

bool waitForExitRequest()
{
    std::unique_lock<std::mutex> lock(exitMutex());
    exitSignal().wait(lock, [] { return exitRequested.load() != 0 || stopWaiting; });
    return exitRequested.load() != 0;
}

void stopWaitingForExit()
{
    {
        std::lock_guard<std::mutex> lock(exitMutex());
        stopWaiting = true;
    }
    exitSignal().notify_all();
}

ParsedInteger textToInteger(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ') --n;
    enum class State { none, sign, digits } state = State::none;
    std::int32_t sign = 1;
    // Unsigned arithmetic: more digits than 32 bits hold wrap around instead of being undefined.
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            value = 10u * value + static_cast<std::uint32_t>(c - '0');
            state = State::digits;
        } else if ((c == '+' || c == '-') && state == State::none) {
            sign = c == '-' ? -1 : 1;
            state = State::sign;
        } else {
            return {0, false};
        }
    }
    if (state != State::digits) return {0, false};
    std::uint32_t result = sign < 0 ? 0u - value : value;
    return {static_cast<std::int32_t>(result), true};
}

char upperCaseChar(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
    switch (u) {   // accented letters of the single-byte code page
    case 132: return static_cast<char>(142);
    case 135: return static_cast<char>(128);
    case 130: return static_cast<char>(144);
    case 148: return static_cast<char>(153);
    default: return c;
    }
}

int firstNonBlank(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ') return static_cast<int>(i) + 1;
    return static_cast<int>(text.size()) + 1;   // all blank: one past the end
}

double scaleToHeight(std::int16_t k, std::int16_t paneHeight)
{
    return static_cast<double>(k) * static_cast<double>(paneHeight) / 479.0;
}

double scaleToWidth(std::int16_t k, std::int16_t paneWidth)
{
    return static_cast<double>(k) * static_cast<double>(paneWidth) / 639.0;
}

double mapLinear(double value, double upper, double lower, std::int16_t span, std::int16_t offset)
{
    return (value - lower) * static_cast<double>(span) / (upper - lower) + static_cast<double>(offset);
}

std::int16_t divisionCount(double a, double b)
{
    if (b < a) {
        for (int k = 10; k >= 2; --k)
            if (a / k >= b) return static_cast<std::int16_t>(k);
        return 0;
    }
    // Cut toward zero to 16-bit integers, as the comparison of whole units intends.
    auto cut = [](double v) {
        if (!(v > -2147483648.0 && v < 2147483648.0)) return std::int16_t{0};   // no 16-bit value
        return static_cast<std::int16_t>(static_cast<std::int32_t>(v));
    };
    return cut(a) == cut(b) ? 1 : 0;
}

bool isDirectory(std::string_view path)
{
    std::string name(path);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    struct stat info;
    return !name.empty() && ::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

PathParts splitPath(std::string_view path)
{
    const std::size_t end = path.find_last_not_of(' ');
    path = path.substr(0, end == std::string_view::npos ? 0 : end + 1);
    const std::size_t separator = path.find_last_of("/\\");
    PathParts parts;
    if (separator == std::string_view::npos) {
        parts.fileName = std::string(path);
        return parts;
    }
    parts.directory = std::string(path.substr(0, separator == 0 ? 1 : separator));
    for (char& c : parts.directory)
        if (c == '\\') c = '/';
    parts.fileName = std::string(path.substr(separator + 1));
    return parts;
}

} // namespace tarnova
