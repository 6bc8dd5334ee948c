// The font files, included whole by the assembler; TARNOVA_FONT_DIR is the font package's
// directory, given by the build.

#include "display/BuiltinFonts.hpp"

// Read-only data in the object format's own section; Windows objects (PE/COFF) have no section
// stack, so their data is followed by a plain return to .text.
#ifdef _WIN32
#define TARNOVA_FONT_SECTION ".section .rdata,\"dr\"\n"
#define TARNOVA_FONT_SECTION_END ".text\n"
#else
#define TARNOVA_FONT_SECTION ".section .rodata\n"
#define TARNOVA_FONT_SECTION_END ".previous\n"
#endif

#define TARNOVA_FONT_FILE(symbol, file)                                                                     \
    asm(TARNOVA_FONT_SECTION ".balign 16\n.global " #symbol "\n" #symbol ":\n.incbin \"" TARNOVA_FONT_DIR "/" file \
        "\"\n.global " #symbol "End\n" #symbol "End:\n" TARNOVA_FONT_SECTION_END);                             \
    extern "C" const unsigned char symbol[];                                                                 \
    extern "C" const unsigned char symbol##End[];

TARNOVA_FONT_FILE(tarnovaFontSansRegular, "LiberationSans-Regular.ttf")
TARNOVA_FONT_FILE(tarnovaFontSansBold, "LiberationSans-Bold.ttf")
TARNOVA_FONT_FILE(tarnovaFontSerifRegular, "LiberationSerif-Regular.ttf")
TARNOVA_FONT_FILE(tarnovaFontMonoRegular, "LiberationMono-Regular.ttf")

namespace tarnova::fonts {

namespace {

std::span<const unsigned char> bytes(const unsigned char* begin, const unsigned char* end)
{
    return {begin, static_cast<std::size_t>(end - begin)};
}

} // namespace

std::span<const BuiltinFont> builtinFonts()
{
    static const BuiltinFont fonts[] = {
        {"Liberation Sans", "LiberationSans-Regular.ttf", 80, bytes(tarnovaFontSansRegular, tarnovaFontSansRegularEnd)},
        {"Liberation Sans", "LiberationSans-Bold.ttf", 200, bytes(tarnovaFontSansBold, tarnovaFontSansBoldEnd)},
        {"Liberation Serif", "LiberationSerif-Regular.ttf", 80,
         bytes(tarnovaFontSerifRegular, tarnovaFontSerifRegularEnd)},
        {"Liberation Mono", "LiberationMono-Regular.ttf", 80, bytes(tarnovaFontMonoRegular, tarnovaFontMonoRegularEnd)},
    };
    return fonts;
}

} // namespace tarnova::fonts
