// Windows: the suite keeps every name in UTF-8 inside, as on Linux; here the C library's narrow
// file calls are routed to its wide ones, converting the UTF-8 names to UTF-16, so that names
// with any letter open whatever the Windows code page. The programs are linked with
// --wrap=<call> for each call below (cmake/windowsPrograms.cmake), so the same sources serve
// both systems. Renaming replaces an existing target, as rename() does on POSIX systems, and
// "/dev/null" names the null device. Files open in binary mode unless a mode says "t", so that
// records end as on Linux whatever mode a writer gives.

#include "win32/utf8_win32.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <windows.h>

namespace tarnova::win32 {

std::wstring widen(std::string_view text)
{
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string narrow(std::wstring_view text)
{
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                        nullptr);
    return utf8;
}

std::wstring widePath(const char* name)
{
    if (name != nullptr && std::strcmp(name, "/dev/null") == 0) return L"NUL";
    return widen(name != nullptr ? name : "");
}

namespace {
// Before any file is opened: binary by default (standard input and output are left as they are).
const int binaryByDefault = [] {
    _fmode = _O_BINARY;
    return 0;
}();
} // namespace

} // namespace tarnova::win32

using tarnova::win32::widen;
using tarnova::win32::widePath;

extern "C" {

FILE* __wrap_fopen(const char* name, const char* mode)
{
    (void)tarnova::win32::binaryByDefault;
    const std::wstring path = widePath(name);
    // Windows answers "access denied" for a directory; say what it is, as POSIX systems do.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        errno = EISDIR;
        return nullptr;
    }
    return _wfopen(path.c_str(), widen(mode).c_str());
}

FILE* __wrap_fopen64(const char* name, const char* mode)
{
    return __wrap_fopen(name, mode);
}

int __wrap_rename(const char* from, const char* to)
{
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
    return -1;
}

int __wrap_remove(const char* name) { return _wremove(widePath(name).c_str()); }
int __wrap_unlink(const char* name) { return _wunlink(widePath(name).c_str()); }
int __wrap__unlink(const char* name) { return _wunlink(widePath(name).c_str()); }
int __wrap_access(const char* name, int mode) { return _waccess(widePath(name).c_str(), mode & 06); }
int __wrap__access(const char* name, int mode) { return _waccess(widePath(name).c_str(), mode & 06); }
int __wrap_chdir(const char* name) { return _wchdir(widePath(name).c_str()); }
int __wrap__chdir(const char* name) { return _wchdir(widePath(name).c_str()); }
int __wrap_mkdir(const char* name) { return _wmkdir(widePath(name).c_str()); }
int __wrap__mkdir(const char* name) { return _wmkdir(widePath(name).c_str()); }

int __wrap__stat64(const char* name, struct _stat64* info) { return _wstat64(widePath(name).c_str(), info); }
int __wrap__stat64i32(const char* name, struct _stat64i32* info)
{
    return _wstat64i32(widePath(name).c_str(), info);
}
int __wrap__stat(const char* name, struct _stat* info) { return _wstat(widePath(name).c_str(), info); }

char* __wrap_getcwd(char* buffer, int size)
{
    wchar_t* wide = _wgetcwd(nullptr, 0);
    if (wide == nullptr) return nullptr;
    const std::string utf8 = tarnova::win32::narrow(wide);
    std::free(wide);
    if (buffer == nullptr) return _strdup(utf8.c_str());
    if (size <= 0 || utf8.size() + 1 > static_cast<std::size_t>(size)) {
        errno = ERANGE;
        return nullptr;
    }
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
    return buffer;
}
char* __wrap__getcwd(char* buffer, int size) { return __wrap_getcwd(buffer, size); }

int __wrap_open(const char* name, int flags, ...)
{
    return _wopen(widePath(name).c_str(), flags | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int __wrap__open(const char* name, int flags, ...)
{
    return _wopen(widePath(name).c_str(), flags | _O_BINARY, _S_IREAD | _S_IWRITE);
}

// A fresh file of the template's name with its six trailing X replaced, created exclusively.
int __wrap_mkstemp(char* name)
{
    const std::size_t length = std::strlen(name);
    if (length < 6 || std::strcmp(name + length - 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return -1;
    }
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = length - 6; i < length; ++i) name[i] = letters[random() % (sizeof letters - 1)];
        const int fd = _wopen(widePath(name).c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY,
                              _S_IREAD | _S_IWRITE);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // extern "C"
