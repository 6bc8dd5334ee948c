#pragma once
// Graphic-text fonts: the option text that asks for a font, the list of loaded font faces and the
// matching of one against the other, and the monochrome glyphs FreeType renders from a face.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnova::fonts {

// What an option text such as "t'arial'h16w10e" asks for.
struct FontRequest {
    bool valid = true;          // false: a face name without its closing apostrophe, or too long
    std::string face;           // empty: any face (already mapped from "Helv", "Tms Rmn", "Courier")
    int height = 0;             // pixels; 0 the default
    int width = 0;              // pixels; 0 in proportion to the height
    int pitch = 0;              // 0 any, 1 fixed ("f"), 2 proportional ("p")
    int kind = 0;               // 0 any, 1 raster ("r"), 2 vector ("v")
    bool italic = false;
    bool underline = false;
    bool bold = false;
    bool bestFit = false;
    int number = 0;             // "n": font number (from 1) of the loaded list; 0 when not given
};

inline constexpr std::size_t maxFaceName = 31;

FontRequest parseFontOptions(std::string_view options);

// The face the metric-compatible stand-in of a standard face goes by ("Arial" gives
// "Liberation Sans"); empty when the face has none.
std::string standInFace(std::string_view face);

// One style file of a face.
struct FontStyle {
    std::string file;           // a built-in file (BuiltinFonts.hpp)
    int faceIndex = 0;
    int weight = 80;            // 80 regular, 200 bold
    int slant = 0;              // 0 upright
    int stretch = 100;          // 100 normal
};

// One loaded font face with its style files. Fixed-size (raster) faces list their sizes.
struct FontFace {
    std::string family;
    bool fixedPitch = false;
    bool scalable = true;
    std::vector<std::pair<int, int>> sizes;     // (height, width) of a raster face
    std::vector<FontStyle> styles;
};

// The list loaded by loadFonts (display lock held).
std::vector<FontFace>& loadedFonts();

// Index (from 0) of the face the request selects and the size to take it at; -1 when none.
struct Match {
    int index = -1;
    int height = 0;
    int width = 0;
};
Match matchFont(const std::vector<FontFace>& fonts, const FontRequest& request);

// A face at one size and style, with its glyphs rendered once. Coordinates follow the screen:
// y grows downwards; advances are in 1/64 pixel.
struct Glyph {
    int left = 0;               // from the pen to the bitmap's left column
    int top = 0;                // from the baseline up to the bitmap's top row
    int width = 0;
    int rows = 0;
    long advanceX = 0;
    long advanceY = 0;
    std::vector<std::uint8_t> bits;     // width x rows, 1 where the glyph is inked
};

class Renderer {
public:
    virtual ~Renderer() = default;
    virtual const Glyph& glyph(char32_t code) = 0;
    virtual int ascent() const = 0;             // pixels from the upper edge to the baseline
    virtual int underlineOffset() const = 0;    // pixels below the baseline
    virtual int underlineThickness() const = 0;
};

// A renderer for the style of `face` nearest to bold/italic (synthesised when the face lacks
// it), sized so that the character cell is `height` pixels high and the average character
// `width` wide (0: in proportion); (dx, dy) the direction of the text. Null when the face
// cannot be loaded. Renderers are kept for the life of the process.
Renderer* renderer(const FontFace& face, int height, int width, bool bold, bool italic, int dx, int dy);

// A renderer of the fixed-pitch face the text grid uses (Liberation Mono, built in).
Renderer* gridRenderer();

} // namespace tarnova::fonts
