// Monochrome glyphs rendered by FreeType, the 8 x 16 glyphs of the text grid and the single-byte
// code page of the programs' texts. Used with the display lock held.

#include "display/Fonts.hpp"
#include "display/Layer.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_SIZES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <tuple>

namespace tarnova {

namespace layer {

char32_t codePoint(unsigned char ch)
{
    // The programs' texts use the classic PC code page; the table is built once through iconv
    // (Latin-1 when the conversion is not available).
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = static_cast<char32_t>(i);
        iconv_t cd = iconv_open("UTF-32LE", "CP850");
        if (cd == reinterpret_cast<iconv_t>(-1)) return t;
        for (int i = 128; i < 256; ++i) {
            char in = static_cast<char>(i);
            unsigned char out[4] = {};
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(out);
            std::size_t inLeft = 1, outLeft = 4;
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && outLeft == 0)
                t[i] = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
        }
        iconv_close(cd);
        return t;
    }();
    return table[ch];
}

const std::uint8_t* gridGlyph(unsigned char ch)
{
    static std::array<std::array<std::uint8_t, cellHeight>, 256> glyphs{};
    static bool built = false;
    if (!built) {
        built = true;
        fonts::Renderer* r = fonts::gridRenderer();
        for (int c = 33; c < 256; ++c) {
            auto& cell = glyphs[c];
            if (!r) {
                // No font at all: a hollow box keeps text visible.
                if (c < 127) {
                    cell[3] = cell[12] = 0x7C;
                    for (int y = 4; y < 12; ++y) cell[y] = 0x44;
                }
                continue;
            }
            if (c == 127 || (c < 128 && c < 32)) continue;
            const fonts::Glyph& g = r->glyph(codePoint(static_cast<unsigned char>(c)));
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
        }
    }
    return glyphs[ch].data();
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

// One FT_Face per file and index, with an FT_Size per renderer.
FT_Face openFace(const std::string& file, int index)
{
    static std::map<std::pair<std::string, int>, FT_Face> faces;
    auto key = std::make_pair(file, index);
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (!library() || FT_New_Face(library(), file.c_str(), index, &face) != 0) face = nullptr;
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
    static Renderer* r = [] () -> Renderer* {
        for (const char* name : {"Liberation Mono", "monospace"}) {
            FcInit();
            FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
            if (!pattern) continue;
            FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
            FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
            FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
            FcDefaultSubstitute(pattern);
            FcResult result = FcResultNoMatch;
            FcPattern* match = FcFontMatch(nullptr, pattern, &result);
            FcPatternDestroy(pattern);
            if (!match) continue;
            FcChar8* file = nullptr;
            int index = 0;
            Renderer* found = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
                FcPatternGetInteger(match, FC_INDEX, 0, &index);
                found = makeRenderer(reinterpret_cast<const char*>(file), index, layer::cellHeight,
                                     layer::cellWidth, false, false, 1, 0);
            }
            FcPatternDestroy(match);
            if (found) return found;
        }
        return nullptr;
    }();
    return r;
}

} // namespace fonts
} // namespace tarnova
