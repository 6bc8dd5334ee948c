#include "inputFile.hpp"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// Windows has no sockets in its file system.
#ifndef S_ISSOCK
#define S_ISSOCK(mode) 0
#endif

namespace tarnova {

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0.
std::size_t utf8Length(std::string_view text, std::size_t at)
{
    const auto u = static_cast<unsigned char>(text[at]);
    const std::size_t n = u >= 0xf0 && u <= 0xf4 ? 4 : u >= 0xe0 ? 3 : u >= 0xc2 && u < 0xe0 ? 2 : 0;
    if (n == 0 || at + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[at + k]) & 0xc0) != 0x80) return 0;
    return n;
}

// Control bytes and bytes that are no part of a UTF-8 character written as \xhh.
std::string escaped(std::string_view text)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto u = static_cast<unsigned char>(text[i]);
        if (u >= 0x80) {
            if (const std::size_t n = utf8Length(text, i); n > 0) {
                shown += text.substr(i, n);
                i += n - 1;
                continue;
            }
        }
        if (u < 0x20 || u >= 0x7f) {
            shown += "\\x";
            shown += hex[u >> 4];
            shown += hex[u & 0xf];
        } else {
            shown += text[i];
        }
    }
    return shown;
}

} // namespace

std::string shownText(std::string_view text)
{
    constexpr std::size_t longest = 60;
    if (text.size() <= longest) return escaped(text);
    return escaped(text.substr(0, longest)) + "... (" + std::to_string(text.size()) + " characters)";
}

std::string inputFileRefusal(std::string_view path)
{
    const std::string name(path);
    struct stat info;
    if (name.empty() || ::stat(name.c_str(), &info) != 0) return {};
    if (S_ISDIR(info.st_mode)) return "is a directory, not a file";
    if (S_ISFIFO(info.st_mode)) return "is a FIFO, not a regular file";
    if (S_ISSOCK(info.st_mode)) return "is a socket, not a regular file";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "is a device, not a regular file";
    if (!S_ISREG(info.st_mode)) return "is not a regular file";
    if (static_cast<std::uintmax_t>(info.st_size) > inputFileLimit) {
        return "is " + std::to_string(static_cast<std::uintmax_t>(info.st_size)) + " bytes, more than the " +
               std::to_string(inputFileLimit) + " an input file may hold";
    }
    return {};
}

std::string inputFileProblem(std::string_view path)
{
    const std::string why = inputFileRefusal(path);
    return why.empty() ? why : escaped(path) + " " + why;
}

std::string caseDirectoryStop(std::string_view directory)
{
    const int error = errno;
    std::string name(directory);
    name.erase(name.find_last_not_of(' ') + 1);
    if (name.empty()) return {};
    struct stat info;
    if (::stat(name.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return "The directory " + escaped(name) + " does not exist";
        return "The directory " + escaped(name) + " cannot be entered: " + std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) return escaped(name) + " is not a directory";
    return "The directory " + escaped(name) + " cannot be entered: " + std::strerror(error != 0 ? error : EACCES);
}

} // namespace tarnova
