// Flexura run headless after the calculator on the box girder: the files it leaves (CSV and PNG
// read back), the neutral axis of a study whose case results file was rewritten, and the
// failures (missing and short files, a record error), which leave nothing written.

#include "caseInputs.hpp"
#include "display/Display.hpp"
#include "display/TestHooks.hpp"
#include "momentChart.hpp"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string errors;
};

std::string readWhole(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> recordsOf(const fs::path& file)
{
    std::vector<std::string> records;
    std::istringstream in(readWhole(file));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        records.push_back(line);
    }
    return records;
}

// A fixed-column field of a record (columns from 1) without its blanks.
std::string field(const std::string& record, std::size_t first, std::size_t width)
{
    std::string f = record.substr(first - 1, width);
    f.erase(f.find_last_not_of(' ') + 1);
    f.erase(0, f.find_first_not_of(' '));
    return f;
}

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

RunResult run(const char* program, const fs::path& directory, const std::string& argument)
{
    const fs::path errors = directory / ".stderr";
    const std::string command = "cd '" + directory.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 '" +
                                program + "' '" + argument + "' </dev/null >/dev/null 2>'" + errors.string() + "'";
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.errors = readWhole(errors);
    fs::remove(errors);
    return result;
}

// A calculated box girder case in a fresh directory; `options` replaces its options file.
class BoxCase : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("flexura-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        for (const char* extension : {".ana", ".geo", ".pro"})
            fs::copy_file(fs::path(EXAMPLES_DIR) / ("box/BOX" + std::string(extension)), dir / ("BOX" + std::string(extension)));
    }
    void TearDown() override { fs::remove_all(dir); }

    void calculate(const std::string& options = {})
    {
        if (!options.empty()) std::ofstream(dir / "BOX.ana", std::ios::binary) << options;
        const RunResult strakon = run(STRAKON_PROGRAM, dir, (dir / "BOX.ana").string());
        ASSERT_EQ(strakon.status, 0) << strakon.errors;
    }
    RunResult flexura() { return run(FLEXURA_PROGRAM, dir, (dir / "BOX.ana").string()); }

    fs::path dir;
};

struct Png {
    int width = 0, height = 0, paletteSize = 0;
    std::vector<png_color> palette;
    std::vector<std::vector<png_byte>> rows;
    png_byte colourType = 0, bitDepth = 0;

    explicit Png(const fs::path& file)
    {
        std::FILE* f = std::fopen(file.c_str(), "rb");
        if (f == nullptr) return;
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_read_struct(&png, &info, nullptr);
            std::fclose(f);
            width = height = 0;
            return;
        }
        png_init_io(png, f);
        png_read_info(png, info);
        width = static_cast<int>(png_get_image_width(png, info));
        height = static_cast<int>(png_get_image_height(png, info));
        colourType = png_get_color_type(png, info);
        bitDepth = png_get_bit_depth(png, info);
        png_colorp entries = nullptr;
        png_get_PLTE(png, info, &entries, &paletteSize);
        palette.assign(entries, entries + paletteSize);
        rows.assign(static_cast<std::size_t>(height), std::vector<png_byte>(png_get_rowbytes(png, info)));
        for (auto& row : rows) png_read_row(png, row.data(), nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(f);
    }
    png_color at(int x, int y) const { return palette[rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]]; }
};

bool isColour(const png_color& c, int r, int g, int b) { return c.red == r && c.green == g && c.blue == b; }

// The names of the reference lines stay inside the plot box at every pane height a screen gives,
// 600 to 1440 pixels, on the tanker, whose Mp line runs along the box's upper edge at some.
TEST(ChartLabels, ReferenceNamesStayInsideThePlotBoxAtEveryPaneHeight)
{
    const fs::path dir = fs::temp_directory_path() / ("flexura-labels-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    for (const char* extension : {".ana", ".geo", ".pro"})
        fs::copy_file(fs::path(EXAMPLES_DIR) / ("tanker/TANKER" + std::string(extension)), dir / ("TANKER" + std::string(extension)));
    const RunResult strakon = run(STRAKON_PROGRAM, dir, (dir / "TANKER.ana").string());
    ASSERT_EQ(strakon.status, 0) << strakon.errors;
    tarnova::flexura::CaseData data;
    const fs::path here = fs::current_path();
    fs::current_path(dir);
    const bool read = tarnova::flexura::readCase("TANKER", data).ok;
    fs::current_path(here);
    fs::remove_all(dir);
    ASSERT_TRUE(read);

    tarnova::inspect::resetDisplay(1024, 768);
    ASSERT_GT(tarnova::loadFonts(), 0);
    ASSERT_GT(tarnova::selectFont("t'arial'h12w6"), 0);
    auto width = [](const std::string& text) { return tarnova::graphicTextWidth(text); };
    int labels = 0;
    for (const int paneWidth : {1024, 1366, 1920}) {
        for (int paneHeight = 600; paneHeight <= 1440; ++paneHeight) {
            const tarnova::flexura::ChartLayout c = tarnova::flexura::chartLayout(data, paneWidth, paneHeight);
            for (const tarnova::flexura::LabelBox& box : tarnova::flexura::referenceLabels(data, c, width)) {
                ++labels;
                // Clear of the frame drawn on the box's edge pixels.
                ASSERT_GT(box.top, c.top) << box.text << " at " << paneWidth << "x" << paneHeight;
                ASSERT_LT(box.bottom, c.bottom) << box.text << " at " << paneWidth << "x" << paneHeight;
                ASSERT_GT(box.left, c.left) << box.text << " at " << paneWidth << "x" << paneHeight;
                ASSERT_LT(box.right, c.right) << box.text << " at " << paneWidth << "x" << paneHeight;
            }
        }
    }
    EXPECT_GT(labels, 0);
}

TEST_F(BoxCase, HeadlessRunWritesEveryImageAndTable)
{
    calculate();
    const RunResult result = flexura();
    ASSERT_EQ(result.status, 0) << result.errors;
    for (const char* name : {"BOX_mk.png", "BOX_mk.csv", "BOX_A_map.png", "BOX_D_map.png", "BOX_A_elements.csv",
                             "BOX_D_elements.csv"})
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_FALSE(fs::exists(dir / "BOX_E_map.png"));
    for (const auto& entry : fs::directory_iterator(dir)) EXPECT_NE(entry.path().extension(), ".part");
}

TEST_F(BoxCase, TablesReadBackWithTheirColumnsAndEveryValueAsRead)
{
    calculate();
    ASSERT_EQ(flexura().status, 0);
    const std::vector<std::string> mk = recordsOf(dir / "BOX_mk.csv");
    ASSERT_EQ(mk.size(), 1u + 4 * 50);
    EXPECT_EQ(mk[0], "case study,step,curvature (1/mm),Mx (N.mm),My (N.mm),M (N.mm),neutral axis x (mm),neutral axis y (mm)");
    EXPECT_NE(readWhole(dir / "BOX_mk.csv").find("\r\n"), std::string::npos);   // RFC 4180 line ends
    // Row of case study B, step 7, against its curve file and case results file.
    const std::vector<std::string> row = split(mk[1 + 50 + 6]);
    ASSERT_EQ(row.size(), 8u);
    EXPECT_EQ(row[0], "B");
    EXPECT_EQ(row[1], "7");
    const std::vector<std::string> curve = recordsOf(dir / "BOX.teB");
    const int n = std::stoi(curve[0]);
    const std::size_t block = 1 + static_cast<std::size_t>(n) + 6 * (2 + 2 * static_cast<std::size_t>((n + 9) / 10));
    EXPECT_EQ(row[2], field(curve[block], 36, 12));
    EXPECT_EQ(row[3], field(curve[block + 1], 13, 12));
    EXPECT_EQ(row[5], field(curve[block + 1], 1, 12));
    const std::vector<std::string> results = recordsOf(dir / "jc310400.000");
    const std::string& resultsRow = results[results.size() - 50 + 6];
    EXPECT_EQ(std::stod(row[6]), std::stod(resultsRow.substr(56, 8)));
    EXPECT_EQ(std::stod(row[7]), std::stod(resultsRow.substr(64, 8)));
    for (std::size_t r = 1; r < mk.size(); ++r) {
        for (const std::string& value : split(mk[r])) {
            EXPECT_FALSE(value.empty()) << r;
            EXPECT_EQ(value.find(' '), std::string::npos) << r;
        }
    }

    const std::vector<std::string> elements = recordsOf(dir / "BOX_A_elements.csv");
    ASSERT_EQ(elements.size(), 1u + static_cast<std::size_t>(n) * 50);
    EXPECT_EQ(elements[0], "element,step,strain ratio (strain/yield strain),stress (N/mm2),state");
    const std::vector<std::string> first = split(elements[1]);
    ASSERT_EQ(first.size(), 5u);
    EXPECT_EQ(first[0], "1");
    EXPECT_EQ(first[1], "1");
    const std::vector<std::string> curveA = recordsOf(dir / "BOX.teA");
    const std::size_t step1 = 1 + static_cast<std::size_t>(n);
    EXPECT_EQ(first[2], field(curveA[step1 + 2], 1, 9));
    EXPECT_EQ(first[3], field(curveA[step1 + 2 + static_cast<std::size_t>((n + 9) / 10)], 1, 9));
    for (std::size_t r = 1; r < elements.size(); ++r) {
        const std::string state = split(elements[r]).back();
        EXPECT_TRUE(state == "tension elastic" || state == "tension yielded" || state == "compression before peak" ||
                    state == "compression past peak")
            << state;
    }
}

TEST_F(BoxCase, ImagesReadBackAsPalettePngs)
{
    calculate();
    ASSERT_EQ(flexura().status, 0);
    for (const char* name : {"BOX_mk.png", "BOX_B_map.png"}) {
        const Png image(dir / name);
        EXPECT_EQ(image.width, 1024) << name;
        EXPECT_EQ(image.height, 768) << name;
        EXPECT_EQ(image.colourType, PNG_COLOR_TYPE_PALETTE) << name;
        EXPECT_EQ(image.bitDepth, 8) << name;
        ASSERT_GE(image.paletteSize, 16) << name;
        EXPECT_TRUE(isColour(image.palette[15], 255, 255, 255)) << name;
        EXPECT_TRUE(isColour(image.palette[12], 255, 0, 0)) << name;
        EXPECT_TRUE(isColour(image.at(2, 2), 255, 255, 255)) << name;               // white background
    }
    const Png chart(dir / "BOX_mk.png");
    // The plot box's frame at its left edge (x 80), and the first curve's colour somewhere.
    EXPECT_TRUE(isColour(chart.at(80, 300), 0, 0, 0));
    bool red = false;
    for (int y = 0; y < chart.height && !red; ++y)
        for (int x = 0; x < chart.width && !red; ++x) red = isColour(chart.at(x, y), 255, 0, 0);
    EXPECT_TRUE(red);
}

TEST_F(BoxCase, ImageThatCannotBeWrittenIsAFailureLeavingNoPartialFile)
{
    calculate();
    fs::create_directory(dir / "BOX_B_map.png");   // a folder in the image's place
    const RunResult result = flexura();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find("BOX_B_map.png could not be written"), std::string::npos) << result.errors;
    EXPECT_TRUE(fs::exists(dir / "BOX_A_map.png"));
    for (const auto& entry : fs::directory_iterator(dir)) EXPECT_NE(entry.path().extension(), ".part");
}

// Tension-block widths 4.0 and 4.5 give one case results file name: B rewrites A's file. A's
// neutral axis then comes from the trace, and is the one a run of A alone writes.
TEST_F(BoxCase, NeutralAxisOfAStudyWhoseResultsFileWasRewrittenComesFromTheTrace)
{
    calculate(" 1\r\n 3 1 0 4.00  0.0    0  0.\r\n");
    const std::vector<std::string> alone = recordsOf(dir / "jc310400.000");
    calculate(" 2\r\n 3 1 0 4.00  0.0    0  0.\r\n 3 1 0 4.50  0.0    0  0.\r\n");
    const std::vector<std::string> rewritten = recordsOf(dir / "jc310400.000");
    ASSERT_EQ(flexura().status, 0);
    const std::vector<std::string> mk = recordsOf(dir / "BOX_mk.csv");
    ASSERT_EQ(mk.size(), 101u);
    bool differs = false;
    for (int j = 0; j < 50; ++j) {
        const std::vector<std::string> a = split(mk[1 + static_cast<std::size_t>(j)]);
        const std::vector<std::string> b = split(mk[51 + static_cast<std::size_t>(j)]);
        const std::string& ownRow = alone[alone.size() - 50 + static_cast<std::size_t>(j)];
        const std::string& bRow = rewritten[rewritten.size() - 50 + static_cast<std::size_t>(j)];
        EXPECT_EQ(std::stod(a[7]), std::stod(ownRow.substr(64, 8))) << j;
        EXPECT_EQ(std::stod(b[7]), std::stod(bRow.substr(64, 8))) << j;
        differs = differs || a[7] != b[7];
    }
    EXPECT_TRUE(differs);
}

TEST_F(BoxCase, MissingShortAndBrokenFilesEndTheRunWritingNothing)
{
    calculate();
    const fs::path keep = dir.string() + "-keep";
    fs::copy(dir, keep);
    auto truncate = [](const fs::path& file, std::size_t records) {
        const std::vector<std::string> r = recordsOf(file);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i < records && i < r.size(); ++i) out << r[i] << "\r\n";
    };
    struct Row {
        const char* what;
        std::function<void()> damage;
        int status;
        const char* message;
    };
    const Row rows[] = {
        {"options file missing", [&] { fs::remove(dir / "BOX.ana"); }, 1, "BOX.ana not found"},
        {"geometry file missing", [&] { fs::remove(dir / "BOX.geo"); }, 1, "BOX.geo not found"},
        {"curve file missing", [&] { fs::remove(dir / "BOX.teC"); }, 1, "BOX.teC not found"},
        {"curve file short", [&] { truncate(dir / "BOX.teB", 200); }, 1, "BOX.teB holds 21 of the 50 steps"},
        {"report without the last ultimate moment", [&] { truncate(dir / "BOX.rst", recordsOf(dir / "BOX.rst").size() - 2); },
         1, "BOX.rst holds no ultimate bending moment of case study D"},
        {"neither case results file nor trace", [&] { fs::remove(dir / "jc310400.000"); fs::remove(dir / "lixo.tmp"); },
         1, "lixo.tmp not found"},
        {"more option records named than held", [&] { std::ofstream(dir / "BOX.ana", std::ios::app) << ""; 
                                                     std::string t = readWhole(dir / "BOX.ana"); t[1] = '5';
                                                     std::ofstream(dir / "BOX.ana", std::ios::binary) << t; },
         1, "BOX.ana holds 4 of its 5 option records"},
        {"letters in a strain ratio field", [&] {
             std::string t = readWhole(dir / "BOX.teA");
             const std::size_t at = t.find(" Itera");
             const std::size_t line = t.find('\n', t.find('\n', at) + 1) + 1;
             t.replace(line, 9, "  x.1E+00");
             std::ofstream(dir / "BOX.teA", std::ios::binary) << t; }, 2, "BOX.teA"},
    };
    for (const Row& row : rows) {
        fs::remove_all(dir);
        fs::copy(keep, dir);
        row.damage();
        const RunResult result = flexura();
        EXPECT_EQ(result.status, row.status) << row.what << "\n" << result.errors;
        EXPECT_NE(result.errors.find(row.message), std::string::npos) << row.what << "\n" << result.errors;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name.find("BOX_") == std::string::npos && entry.path().extension() != ".part") << row.what << ": " << name;
        }
    }
    fs::remove_all(keep);
}

} // namespace
