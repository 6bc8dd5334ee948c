#include "replaceFile.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnova {

namespace {

void setReason(std::string* reason, const char* what, int error)
{
    if (reason != nullptr) *reason = std::string(what) + ": " + std::strerror(error);
}

// The permissions a plain creat() would give: 0666 less the process's umask.
mode_t creationMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

bool replaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string* reason)
{
    // A hidden temporary in the target's directory, so the rename stays within one file system.
    const std::size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + base + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());   // O_CREAT | O_EXCL: never an existing name or link
    if (fd < 0) {
        setReason(reason, "cannot create a temporary file", errno);
        return false;
    }
    ::fchmod(fd, creationMode());
    std::FILE* stream = ::fdopen(fd, "wb");
    if (stream == nullptr) {
        setReason(reason, "cannot open the temporary file", errno);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    errno = 0;
    const bool written = write(stream);
    int error = errno;
    const bool flushed = std::fflush(stream) == 0;
    if (!flushed && error == 0) error = errno;
    const bool closed = std::fclose(stream) == 0;
    if (!closed && error == 0) error = errno;
    if (!written || !flushed || !closed) {
        setReason(reason, "write failed", error != 0 ? error : EIO);
        ::unlink(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        setReason(reason, "cannot rename the temporary file", errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool replaceFile(const std::string& path, std::string_view bytes, std::string* reason)
{
    return replaceFileWith(path, [bytes](std::FILE* f) {
        return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }, reason);
}

} // namespace tarnova
