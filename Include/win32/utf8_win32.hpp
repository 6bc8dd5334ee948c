#pragma once
// Windows: conversions between the UTF-8 kept inside the suite and the UTF-16 of the system.

#include <string>
#include <string_view>

namespace tarnova::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
// A file name for the wide calls ("/dev/null" is the null device, NUL).
std::wstring widePath(const char* utf8);

} // namespace tarnova::win32
