#include "display/sdl/TextRenderer.hpp"

#include "display/BuiltinFonts.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <vector>

namespace tarnova::sdl {

namespace {

// Beyond this many strings the cache is emptied (status texts change while a program runs).
constexpr std::size_t maxCachedTexts = 256;

} // namespace

TextRenderer::~TextRenderer()
{
    clear();
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
}

bool TextRenderer::open(int pixelHeight)
{
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return false;
    }
    // The programs' own built-in Liberation Sans regular (taken from the program, which exports it):
    // the frame's text looks the same on every machine and no font configuration is read.
    for (const fonts::BuiltinFont& font : fonts::builtinFonts()) {
        if (font.family != "Liberation Sans" || font.weight != 80) continue;
        if (FT_New_Memory_Face(library_, font.data.data(), static_cast<FT_Long>(font.data.size()), 0, &face_) != 0)
            face_ = nullptr;
        break;
    }
    if (face_ == nullptr || FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelHeight)) != 0) return false;
    ascent_ = static_cast<int>((face_->size->metrics.ascender + 63) >> 6);
    lineHeight_ = static_cast<int>((face_->size->metrics.ascender - face_->size->metrics.descender + 63) >> 6);
    return true;
}

void TextRenderer::clear()
{
    for (auto& [text, rendered] : cache_)
        if (rendered.texture != nullptr) SDL_DestroyTexture(rendered.texture);
    cache_.clear();
}

int TextRenderer::advance(unsigned char c)
{
    if (face_ == nullptr) return 0;
    if (!advanceKnown_[c]) {
        advances_[c] = FT_Load_Char(face_, c, FT_LOAD_DEFAULT) == 0
                           ? static_cast<int>((face_->glyph->advance.x + 32) >> 6)
                           : 0;
        advanceKnown_[c] = true;
    }
    return advances_[c];
}

int TextRenderer::width(std::string_view text)
{
    int w = 0;
    for (char c : text) w += advance(static_cast<unsigned char>(c));
    return w;
}

const TextRenderer::Rendered& TextRenderer::render(SDL_Renderer* renderer, std::string_view text)
{
    const std::string key(text);
    if (auto found = cache_.find(key); found != cache_.end()) return found->second;
    if (cache_.size() >= maxCachedTexts) clear();

    Rendered rendered;
    rendered.w = std::max(width(text), 1);
    rendered.h = std::max(lineHeight_, 1);
    // White glyphs whose coverage is the alpha; the colour is applied when drawn.
    std::vector<Uint32> pixels(static_cast<std::size_t>(rendered.w) * rendered.h, 0x00FFFFFFu);
    int pen = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (FT_Load_Char(face_, c, FT_LOAD_RENDER) == 0) {
            const FT_Bitmap& bitmap = face_->glyph->bitmap;
            const int left = pen + face_->glyph->bitmap_left;
            const int top = ascent_ - face_->glyph->bitmap_top;
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                const int y = top + static_cast<int>(row);
                if (y < 0 || y >= rendered.h) continue;
                for (unsigned col = 0; col < bitmap.width; ++col) {
                    const int x = left + static_cast<int>(col);
                    if (x < 0 || x >= rendered.w) continue;
                    const Uint32 coverage = bitmap.buffer[row * bitmap.pitch + col];
                    Uint32& target = pixels[static_cast<std::size_t>(y) * rendered.w + x];
                    target = std::max(target >> 24, coverage) << 24 | 0x00FFFFFFu;
                }
            }
        }
        pen += advance(c);
    }
    rendered.texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                         rendered.w, rendered.h);
    if (rendered.texture != nullptr) {
        SDL_UpdateTexture(rendered.texture, nullptr, pixels.data(), rendered.w * 4);
        SDL_SetTextureBlendMode(rendered.texture, SDL_BLENDMODE_BLEND);
    }
    return cache_.emplace(key, rendered).first->second;
}

void TextRenderer::draw(SDL_Renderer* renderer, std::string_view text, int x, int y, SDL_Color colour)
{
    if (face_ == nullptr || text.empty()) return;
    const Rendered& rendered = render(renderer, text);
    if (rendered.texture == nullptr) return;
    SDL_SetTextureColorMod(rendered.texture, colour.r, colour.g, colour.b);
    const SDL_Rect target{x, y, rendered.w, rendered.h};
    SDL_RenderCopy(renderer, rendered.texture, nullptr, &target);
}

} // namespace tarnova::sdl
