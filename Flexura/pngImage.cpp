#include "pngImage.hpp"

#include "commandLine.hpp"
#include "replaceFile.hpp"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>

namespace tarnova::flexura {

namespace {

// libpng reports its errors by a long jump back into the writer (its documented way). The
// image goes to `file`, or, when it is null, through `write` (into memory).
bool encode(std::FILE* file, png_rw_ptr write, void* sink, const PaneCopy& image)
{
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
    // Flat areas of a few colours: run-length deflate without filters is fast and small.
    png_set_compression_level(png, 6);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int used = image.pixels.empty() ? 1 : *std::max_element(image.pixels.begin(), image.pixels.end()) + 1;
    png_color palette[256];
    for (int i = 0; i < used; ++i) {
        const std::uint32_t c = image.palette[static_cast<std::size_t>(i)];
        palette[i] = {static_cast<png_byte>(c), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c >> 16)};
    }
    png_set_PLTE(png, info, palette, used);
    // The suite's version and build in a text chunk: an image tells which program made it.
    static const std::string software = "TARNOVA " + versionLine();
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<char*>("Software");
    text.text = const_cast<char*>(software.c_str());
    text.text_length = software.size();
    png_set_text(png, info, &text, 1);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(const std::string& fileName, const PaneCopy& image, std::string* reason)
{
    if (image.width < 1 || image.height < 1) {
        if (reason) *reason = "the picture is empty";
        return false;
    }
    return replaceFileWith(fileName, [&image](std::FILE* file) { return encode(file, nullptr, nullptr, image); }, reason);
}

std::string encodePng(const PaneCopy& image)
{
    if (image.width < 1 || image.height < 1) return {};
    std::string bytes;
    auto append = [](png_structp png, png_bytep data, png_size_t length) {
        static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
    };
    if (!encode(nullptr, append, &bytes, image)) return {};
    return bytes;
}

bool saveScreenPng(const std::string& fileName, int paneWidth, int paneHeight, std::string* reason)
{
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    return writePng(fileName, copyPane(0, 0, paneWidth - 1, paneHeight - 1), reason);
}

} // namespace tarnova::flexura
