// Takes a picture of a program's frame on an X display as a PNG file, for the README, or as a
// binary PPM file (name ending in .ppm), for tests comparing frames pixel by pixel:
//   windowShot DISPLAY TITLE FILE.png|FILE.ppm
// Waits for the mapped window of that title, then until its picture has stayed the same for a
// second (the program has drawn its screen), and writes the frame's client area.
#include <X11/Xlib.h>
#include "xSession.hpp"

#include <png.h>

#include <cstdio>
#include <map>
#include <string>
#include <thread>

namespace {

using namespace tarnova::windowtest;

// A palette PNG when the picture has at most 256 colours (it usually has: the pane is indexed),
// else an RGB one.
bool writePng(const Screenshot& shot, const Geometry& g, const char* file)
{
    std::map<std::uint32_t, int> colours;
    for (int y = g.y; y < g.y + g.height; ++y)
        for (int x = g.x; x < g.x + g.width && colours.size() <= 256; ++x) colours.emplace(shot.at(x, y), 0);
    const bool indexed = colours.size() <= 256;
    std::FILE* out = std::fopen(file, "wb");
    if (out == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        return false;
    }
    png_init_io(png, out);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(g.width), static_cast<png_uint_32>(g.height), 8,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (indexed) {
        for (auto& [rgb, index] : colours) {
            index = static_cast<int>(palette.size());
            palette.push_back({static_cast<png_byte>(rgb >> 16), static_cast<png_byte>(rgb >> 8), static_cast<png_byte>(rgb)});
        }
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(g.width) * 3);
    for (int y = g.y; y < g.y + g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            const std::uint32_t c = shot.at(g.x + x, y);
            if (indexed) {
                row[static_cast<std::size_t>(x)] = static_cast<png_byte>(colours[c]);
            } else {
                row[3 * static_cast<std::size_t>(x)] = static_cast<png_byte>(c >> 16);
                row[3 * static_cast<std::size_t>(x) + 1] = static_cast<png_byte>(c >> 8);
                row[3 * static_cast<std::size_t>(x) + 2] = static_cast<png_byte>(c);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0;
}

// Binary PPM (P6): no compression, read by a few lines of any language.
bool writePpm(const Screenshot& shot, const Geometry& g, const char* file)
{
    std::FILE* out = std::fopen(file, "wb");
    if (out == nullptr) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", g.width, g.height);
    std::vector<unsigned char> row(static_cast<std::size_t>(g.width) * 3);
    bool written = true;
    for (int y = g.y; y < g.y + g.height && written; ++y) {
        for (int x = 0; x < g.width; ++x) {
            const std::uint32_t c = shot.at(g.x + x, y);
            row[3 * static_cast<std::size_t>(x)] = static_cast<unsigned char>(c >> 16);
            row[3 * static_cast<std::size_t>(x) + 1] = static_cast<unsigned char>(c >> 8);
            row[3 * static_cast<std::size_t>(x) + 2] = static_cast<unsigned char>(c);
        }
        written = std::fwrite(row.data(), 1, row.size(), out) == row.size();
    }
    return std::fclose(out) == 0 && written;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: windowShot DISPLAY TITLE FILE.png|FILE.ppm\n");
        return 2;
    }
    ::Display* display = XOpenDisplay(argv[1]);
    if (display == nullptr) {
        std::fprintf(stderr, "windowShot: cannot open display %s\n", argv[1]);
        return 1;
    }
    const Window window = findWindow(display, argv[2], 60s);
    if (window == 0) {
        std::fprintf(stderr, "windowShot: no window titled %s\n", argv[2]);
        return 1;
    }
    Screenshot last = takeScreenshot(display);
    int unchanged = 0;
    for (int i = 0; i < 600 && unchanged < 4; ++i) {
        std::this_thread::sleep_for(250ms);
        Screenshot now = takeScreenshot(display);
        unchanged = now.pixels == last.pixels ? unchanged + 1 : 0;
        last = std::move(now);
    }
    Geometry g = windowGeometry(display, window);
    g.width = std::min(g.width, last.width - g.x);
    g.height = std::min(g.height, last.height - g.y);
    const bool written = endsWith(argv[3], ".ppm") ? writePpm(last, g, argv[3]) : writePng(last, g, argv[3]);
    XCloseDisplay(display);
    if (!written) std::fprintf(stderr, "windowShot: cannot write %s\n", argv[3]);
    return written ? 0 : 1;
}
