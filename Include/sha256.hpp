#pragma once
// SHA-256 (FIPS 180-4) of a byte string, as 64 lower-case hexadecimal digits: the fingerprint a
// report gives of each file it was made from, so a reviewer can tell the very files apart.

#include <string>
#include <string_view>

namespace tarnova {

std::string sha256Hex(std::string_view bytes);

} // namespace tarnova
