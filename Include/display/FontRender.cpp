// Monochrome glyphs rendered by FreeType, the 8 x 16 glyphs of the text grid and the single-byte
// code page of the programs' texts. Used with the display lock held.

#include "display/Fonts.hpp"
#include "display/BuiltinFonts.hpp"
#include "display/Layer.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_SIZES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

namespace tarnova {

namespace layer {

// The upper half of the classic PC code page (850) the programs' texts use, as Unicode.
constexpr std::array<char32_t, 128> codePage850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

char32_t codePoint(unsigned char ch)
{
    return ch < 128 ? static_cast<char32_t>(ch) : codePage850[static_cast<std::size_t>(ch - 128)];
}

const std::uint8_t* gridGlyph(unsigned char ch)
{
    // Each glyph is rendered the first time it is drawn.
    static std::array<std::array<std::uint8_t, cellHeight>, 256> glyphs{};
    static std::array<bool, 256> built{};
    const int c = ch;
    auto& cell = glyphs[c];
    if (built[c]) return cell.data();
    built[c] = true;
    if (c < 33) return cell.data();
    fonts::Renderer* r = fonts::gridRenderer();
    if (!r) {
        // No font at all: a hollow box keeps text visible.
        if (c < 127) {
            cell[3] = cell[12] = 0x7C;
            for (int y = 4; y < 12; ++y) cell[y] = 0x44;
        }
        return cell.data();
    }
    if (c == 127) return cell.data();
    const fonts::Glyph& g = r->glyph(codePoint(ch));
    const int x0 = g.left;
    const int y0 = r->ascent() - g.top;
    for (int y = 0; y < g.rows; ++y) {
        const int cy = y0 + y;
        if (cy < 0 || cy >= cellHeight) continue;
        for (int x = 0; x < g.width; ++x) {
            const int cx = x0 + x;
            if (cx < 0 || cx >= cellWidth) continue;
            if (g.bits[static_cast<std::size_t>(y * g.width + x)]) cell[cy] |= static_cast<std::uint8_t>(0x80 >> cx);
        }
    }
    return cell.data();
}

} // namespace layer

namespace fonts {

namespace {

constexpr int maxGlyphSize = 1000;   // pixels

FT_Library library()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

class FreeTypeRenderer final : public Renderer {
public:
    FreeTypeRenderer(FT_Face face, int height, int width, bool synthBold, bool synthItalic, int dx, int dy)
        : face_(face), synthBold_(synthBold)
    {
        const double unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
        // The character cell runs from the Windows ascent to the Windows descent, which is what
        // the metric-compatible faces share with the faces they stand in for.
        double cellUnits = double(face->ascender - face->descender);
        double ascentUnits = face->ascender;
        double averageWidth = 0.5 * unitsPerEm;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                cellUnits = double(os2->usWinAscent) + double(os2->usWinDescent);
                ascentUnits = os2->usWinAscent;
            }
            if (os2->xAvgCharWidth > 0) averageWidth = os2->xAvgCharWidth;
        }
        if (cellUnits <= 0) cellUnits = unitsPerEm;
        // Sizes are bounded so that a mistyped option cannot ask for giant glyph bitmaps.
        if (height <= 0) height = 16;
        height = std::min(height, maxGlyphSize);
        width = std::min(width, maxGlyphSize);
        if (FT_IS_SCALABLE(face)) {
            const double emY = height * unitsPerEm / cellUnits;
            const double emX = width > 0 ? width * unitsPerEm / averageWidth : emY;
            FT_Set_Char_Size(face, std::lround(emX * 64.0), std::lround(emY * 64.0), 72, 72);
            ascent_ = static_cast<int>(std::lround(ascentUnits * emY / unitsPerEm));
            underlineOffset_ = static_cast<int>(std::lround(-face->underline_position * emY / unitsPerEm));
            underlineThickness_ = std::max(1, static_cast<int>(std::lround(face->underline_thickness * emY / unitsPerEm)));
            boldStrength_ = std::max<long>(32, std::lround(emY * 64.0 / 24.0));
        } else {
            // A raster face: the strike nearest the asked size.
            int best = 0;
            int bestDiff = 1 << 30;
            for (int i = 0; i < face->num_fixed_sizes; ++i) {
                const int diff = std::abs(face->available_sizes[i].height - height)
                               + (width > 0 ? std::abs(face->available_sizes[i].width - width) : 0);
                if (diff < bestDiff) {
                    bestDiff = diff;
                    best = i;
                }
            }
            if (face->num_fixed_sizes > 0) FT_Select_Size(face, best);
            ascent_ = static_cast<int>(face->size->metrics.ascender >> 6);
            underlineOffset_ = 1;
            underlineThickness_ = 1;
        }
        // Direction (screen y grows downwards; FreeType's upwards) and the slant of synthesised
        // italics.
        const double length = std::hypot(double(dx), double(dy));
        const double c = length > 0 ? dx / length : 1.0;
        const double s = length > 0 ? -dy / length : 0.0;
        const double shear = synthItalic ? 0.2 : 0.0;
        // rotation x shear: [c -s; s c] x [1 shear; 0 1]
        matrix_.xx = static_cast<FT_Fixed>(std::lround(c * 65536.0));
        matrix_.xy = static_cast<FT_Fixed>(std::lround((c * shear - s) * 65536.0));
        matrix_.yx = static_cast<FT_Fixed>(std::lround(s * 65536.0));
        matrix_.yy = static_cast<FT_Fixed>(std::lround((s * shear + c) * 65536.0));
        transformed_ = matrix_.xx != 0x10000 || matrix_.xy != 0 || matrix_.yx != 0 || matrix_.yy != 0x10000;
        size_ = face->size;
    }

    const Glyph& glyph(char32_t code) override
    {
        auto it = cache_.find(code);
        if (it != cache_.end()) return it->second;
        Glyph& g = cache_[code];
        FT_Activate_Size(size_);
        FT_Set_Transform(face_, transformed_ ? &matrix_ : nullptr, nullptr);
        FT_Int32 loadFlags = FT_LOAD_TARGET_MONO;
        if (transformed_) loadFlags |= FT_LOAD_NO_HINTING;
        if (FT_Load_Char(face_, code, loadFlags) != 0) return g;
        FT_GlyphSlot slot = face_->glyph;
        long extra = 0;
        if (synthBold_ && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_Outline_EmboldenXY(&slot->outline, boldStrength_, 0);
            extra = boldStrength_;
        }
        if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return g;
        const FT_Bitmap& bm = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int>(bm.width);
        g.rows = static_cast<int>(bm.rows);
        g.advanceX = slot->advance.x + (extra ? ((extra + 63) & ~63L) : 0);
        g.advanceY = -slot->advance.y;
        g.bits.assign(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.rows), 0);
        for (int y = 0; y < g.rows; ++y) {
            const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
            for (int x = 0; x < g.width; ++x) {
                bool on = false;
                if (bm.pixel_mode == FT_PIXEL_MODE_MONO) on = (row[x >> 3] & (0x80 >> (x & 7))) != 0;
                else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) on = row[x] >= 128;
                g.bits[static_cast<std::size_t>(y * g.width + x)] = on ? 1 : 0;
            }
        }
        return g;
    }

    int ascent() const override { return ascent_; }
    int underlineOffset() const override { return underlineOffset_; }
    int underlineThickness() const override { return underlineThickness_; }

private:
    FT_Face face_;
    FT_Size size_ = nullptr;
    bool synthBold_;
    long boldStrength_ = 0;
    FT_Matrix matrix_{};
    bool transformed_ = false;
    int ascent_ = 0;
    int underlineOffset_ = 1;
    int underlineThickness_ = 1;
    std::map<char32_t, Glyph> cache_;
};

// One FT_Face per built-in file and index, read from memory, with an FT_Size per renderer.
FT_Face openFace(const std::string& file, int index)
{
    static std::map<std::pair<std::string, int>, FT_Face> faces;
    auto key = std::make_pair(file, index);
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;
    FT_Face face = nullptr;
    for (const BuiltinFont& font : builtinFonts()) {
        if (font.file != file) continue;
        if (!library() || FT_New_Memory_Face(library(), font.data.data(), static_cast<FT_Long>(font.data.size()),
                                             index, &face) != 0)
            face = nullptr;
        break;
    }
    faces[key] = face;
    return face;
}

Renderer* makeRenderer(const std::string& file, int index, int height, int width, bool synthBold,
                       bool synthItalic, int dx, int dy)
{
    using Key = std::tuple<std::string, int, int, int, bool, bool, int, int>;
    static std::map<Key, std::unique_ptr<Renderer>> renderers;
    Key key{file, index, height, width, synthBold, synthItalic, dx, dy};
    auto it = renderers.find(key);
    if (it != renderers.end()) return it->second.get();
    FT_Face face = openFace(file, index);
    std::unique_ptr<Renderer> r;
    if (face) {
        FT_Size size = nullptr;
        if (FT_New_Size(face, &size) == 0) {
            FT_Activate_Size(size);
            r = std::make_unique<FreeTypeRenderer>(face, height, width, synthBold, synthItalic, dx, dy);
        }
    }
    Renderer* result = r.get();
    renderers[key] = std::move(r);
    return result;
}

} // namespace

Renderer* renderer(const FontFace& face, int height, int width, bool bold, bool italic, int dx, int dy)
{
    if (face.styles.empty()) return nullptr;
    // The style nearest in slant, weight and stretch.
    const int wantWeight = bold ? 200 : 80;
    const FontStyle* best = nullptr;
    int bestScore = 0;
    for (const FontStyle& s : face.styles) {
        const int score = ((s.slant != 0) != italic ? 1000 : 0) + std::abs(s.weight - wantWeight)
                        + 2 * std::abs(s.stretch - 100);
        if (!best || score < bestScore) {
            best = &s;
            bestScore = score;
        }
    }
    const bool synthBold = bold && best->weight < 150;
    const bool synthItalic = italic && best->slant == 0;
    return makeRenderer(best->file, best->faceIndex, height, width, synthBold, synthItalic, dx, dy);
}

Renderer* gridRenderer()
{
    static Renderer* r =
        makeRenderer("LiberationMono-Regular.ttf", 0, layer::cellHeight, layer::cellWidth, false, false, 1, 0);
    return r;
}

} // namespace fonts
} // namespace tarnova
