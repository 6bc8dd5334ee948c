#pragma once
// Windows: the one conversion the display layer asks of iconv, a single-byte code page
// ("CP850") to UTF-32LE, done by the system's own code page tables.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <windows.h>

using iconv_t = void*;

inline iconv_t iconv_open(const char* to, const char* from)
{
    if (std::strcmp(to, "UTF-32LE") != 0 || std::strncmp(from, "CP", 2) != 0) return reinterpret_cast<iconv_t>(-1);
    const unsigned page = static_cast<unsigned>(std::strtoul(from + 2, nullptr, 10));
    if (page == 0 || !IsValidCodePage(page)) return reinterpret_cast<iconv_t>(-1);
    return reinterpret_cast<iconv_t>(static_cast<std::uintptr_t>(page));
}

inline std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft)
{
    const auto page = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(cd));
    while (*inLeft > 0) {
        if (*outLeft < 4) return static_cast<std::size_t>(-1);
        wchar_t wide = 0;
        if (MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, *in, 1, &wide, 1) != 1) return static_cast<std::size_t>(-1);
        const auto code = static_cast<std::uint32_t>(wide);
        for (int i = 0; i < 4; ++i) (*out)[i] = static_cast<char>((code >> (8 * i)) & 0xFF);
        *out += 4;
        *outLeft -= 4;
        ++*in;
        --*inLeft;
    }
    return 0;
}

inline int iconv_close(iconv_t) { return 0; }
