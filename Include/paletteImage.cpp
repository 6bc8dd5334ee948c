#include "paletteImage.hpp"

#include "replaceFile.hpp"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>

namespace tarnova {

namespace {

// Why the image cannot be written; empty when it can.
std::string unusable(const PaletteImage& image)
{
    if (image.width < 1 || image.height < 1) return "the picture is empty";
    if (image.pixels.size() < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return "the picture lacks pixels";
    if (image.palette.empty() || image.palette.size() > 256) return "the picture's palette has no entry or more than 256";
    return {};
}

// libpng reports its errors by a long jump back into the writer (its documented way). The
// image goes to `file`, or, when it is null, through `write` into `sink`.
bool encode(std::FILE* file, png_rw_ptr write, void* sink, const PaletteImage& image)
{
    png_color palette[256];
    const int used = static_cast<int>(image.palette.size());
    for (int i = 0; i < used; ++i) {
        const auto& c = image.palette[static_cast<std::size_t>(i)];
        palette[i] = {c[0], c[1], c[2]};
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    if (file != nullptr) png_init_io(png, file);
    else png_set_write_fn(png, sink, write, [](png_structp) {});   // (a null flush would fflush the sink)
    if (image.flatRuns) {
        png_set_compression_level(png, 6);
        png_set_compression_strategy(png, Z_RLE);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, used);
    if (!image.textKey.empty()) {
        png_text text{};
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = const_cast<char*>(image.textKey.c_str());
        text.text = const_cast<char*>(image.text.c_str());
        text.text_length = image.text.size();
        png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePaletteImage(const std::string& path, const PaletteImage& image, std::string* reason)
{
    if (const std::string why = unusable(image); !why.empty()) {
        if (reason) *reason = why;
        return false;
    }
    return replaceFileWith(path, [&image](std::FILE* file) { return encode(file, nullptr, nullptr, image); }, reason);
}

std::string encodePaletteImage(const PaletteImage& image)
{
    if (!unusable(image).empty()) return {};
    std::string bytes;
    auto append = [](png_structp png, png_bytep data, png_size_t length) {
        static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
    };
    if (!encode(nullptr, append, &bytes, image)) return {};
    return bytes;
}

} // namespace tarnova
