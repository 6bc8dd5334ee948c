#pragma once
// Text of the frame itself (menu bar, drop-downs, status line, message boxes), drawn with the
// programs' built-in Liberation Sans through FreeType. Rendered strings are kept as textures.

#include <SDL.h>

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace tarnova::sdl {

class TextRenderer {
public:
    TextRenderer() = default;
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;
    ~TextRenderer();

    // Finds the face and sets its size. False when no face is found; text then draws nothing
    // and measures 0.
    bool open(int pixelHeight);
    // Drops every texture (they belong to the renderer passed to draw).
    void clear();

    int lineHeight() const { return lineHeight_; }
    int width(std::string_view text);
    // Draws the text with the upper-left corner of its line box at (x, y).
    void draw(SDL_Renderer* renderer, std::string_view text, int x, int y, SDL_Color colour);

private:
    struct Rendered {
        SDL_Texture* texture = nullptr;
        int w = 0;
        int h = 0;
    };
    const Rendered& render(SDL_Renderer* renderer, std::string_view text);
    int advance(unsigned char c);

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    int ascent_ = 0;
    int lineHeight_ = 0;
    std::array<int, 256> advances_{};
    std::array<bool, 256> advanceKnown_{};
    std::unordered_map<std::string, Rendered> cache_;
};

} // namespace tarnova::sdl
