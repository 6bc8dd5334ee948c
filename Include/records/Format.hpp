#pragma once
// Compact description of one record format: its descriptors in order, repeat counts kept as
// counts (not expanded), literals pointing back into the format text. A statement parses its
// format once into this and then walks it for every item.

#include <array>
#include <cstdint>
#include <string_view>

namespace tarnova::records {

enum class Edit : std::uint8_t {
    integer,    // Iw, Iw.m
    fixed,      // Fw.d
    exponent,   // Ew.d
    text,       // Aw, A
    skip,       // nX
    recordEnd,  // /
    literal,    // 'text'
};

inline bool isData(Edit e) { return e == Edit::integer || e == Edit::fixed || e == Edit::exponent || e == Edit::text; }

// Trivial on purpose: a statement's ParsedFormat lives on the stack and only the descriptors
// parsed are ever written (see Descriptor::make).
struct Descriptor {
    Edit edit;
    bool doubledQuotes;           // literal holds '' standing for one apostrophe
    std::int32_t repeat;          // data descriptors and "/"; nX keeps n in width
    std::int32_t width;           // w (0 for A without width)
    std::int32_t digits;          // d of F and E, m of Iw.m (-1 when absent)
    std::uint32_t literalStart;
    std::uint32_t literalLength;

    static Descriptor make(Edit e) { return Descriptor{e, false, 1, 0, -1, 0, 0}; }
};

// Enough for every format of the system with room to spare; a longer one is reported.
inline constexpr int maxDescriptors = 96;
// Widths beyond these are outside the notation (and would only hide a typing error).
inline constexpr int maxNumericWidth = 255;
inline constexpr int maxTextWidth = 32767;

struct ParsedFormat {
    std::string_view source;      // what was given; literal offsets are from its start
    std::string_view text;        // the format alone, "(" to its matching ")"
    std::array<Descriptor, maxDescriptors> items;
    int count = 0;
    bool hasData = false;
};

// The literal as it stands between its apostrophes (a doubled '' still doubled).
inline std::string_view literalText(const ParsedFormat& f, const Descriptor& d)
{
    return f.source.substr(d.literalStart, d.literalLength);
}

// Parses the format that starts at the first "(" of `source` (anything after its matching ")"
// is ignored). On failure returns false and sets `problem` to a short description and
// `problemOffset` to the offset in `source` where it was found.
bool parseFormat(std::string_view source, ParsedFormat& out, const char*& problem, std::size_t& problemOffset);

// The descriptor as written in a format, e.g. "F10.3", "I2.2", "A", "5X" (for error reports).
std::string_view describe(const Descriptor& d, char* buffer, std::size_t size);

} // namespace tarnova::records
