#pragma once
// The font files built into the programs (from the Debian font package at build time), so that
// text looks the same on every machine and no font configuration is read at run time.

#include <cstddef>
#include <span>
#include <string_view>

namespace tarnova::fonts {

struct BuiltinFont {
    std::string_view family;    // as the font's own name table gives it
    std::string_view file;      // the file it was built from, without its directory
    int weight;                 // 80 regular, 200 bold
    std::span<const unsigned char> data;
};

// Liberation Sans regular and bold, Liberation Serif and Liberation Mono regular.
std::span<const BuiltinFont> builtinFonts();

} // namespace tarnova::fonts
