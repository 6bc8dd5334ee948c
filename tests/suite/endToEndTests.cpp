// The suite as an engineer uses it, headless, on a copy of a small example case: Strakon
// calculates and writes the element curve file, Pickara hands over element 7, Curvella writes the
// element's listing and image. Checks that each hand-over file is there and well formed.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Records of a file whose records end in CR LF.
std::vector<std::string> records(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        result.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last record end";
    return result;
}

std::uint32_t little32(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// Runs one program headless in `dir` and returns its exit status.
int runHeadless(const fs::path& dir, const std::string& program, const std::string& argument,
                const std::string& input)
{
    const std::string command = "cd '" + dir.string() + "' && printf '" + input +
                                "' | env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" + program + "' '" +
                                argument + "' >>run.log 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

// The smallest example case: the directory under examples/ whose ".geo" file is smallest.
fs::path smallestExample()
{
    fs::path best;
    std::uintmax_t bestSize = UINTMAX_MAX;
    for (const auto& entry : fs::recursive_directory_iterator(EXAMPLES_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".geo" && entry.file_size() < bestSize) {
            bestSize = entry.file_size();
            best = entry.path();
        }
    }
    return best;
}

TEST(Suite, CalculateChooseAndViewOneElementHeadless)
{
    const fs::path geometry = smallestExample();
    ASSERT_FALSE(geometry.empty()) << "no example case under " << EXAMPLES_DIR;
    const fs::path work = fs::temp_directory_path() / ("tarnova-suite-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::copy(geometry.parent_path(), work, fs::copy_options::recursive);
    const std::string caseName = geometry.stem().string();

    ASSERT_EQ(runHeadless(work, STRAKON_PROGRAM, (work / (caseName + ".ana")).string(), ""), 0)
        << readFile(work / "run.log");
    const fs::path curveFile = work / (caseName + ".teA");
    ASSERT_TRUE(fs::exists(curveFile)) << readFile(work / "run.log");
    int elementCount = 0;
    std::istringstream(records(readFile(curveFile)).at(0)) >> elementCount;
    ASSERT_GE(elementCount, 7) << "the example needs at least 7 elements";

    ASSERT_EQ(runHeadless(work, PICKARA_PROGRAM, curveFile.string(), "7\\n"), 0) << readFile(work / "run.log");
    EXPECT_EQ(readFile(work / "nElem.txt"), "   7\r\n");

    ASSERT_EQ(runHeadless(work, CURVELLA_PROGRAM, curveFile.string(), ""), 0) << readFile(work / "run.log");

    // The listing: a banner, the ship's name, 50 points in "(7X,E9.3,11X,E9.3)", the element's
    // number and seven dimensions, then the ultimate stress and strain.
    const std::vector<std::string> listing = records(readFile(work / "Element.007"));
    ASSERT_EQ(listing.size(), 68u);
    EXPECT_NE(listing[0].find("TARNOVA - version 3.0 (1996)"), std::string::npos) << listing[0];
    EXPECT_NE(listing[2].find("Ship name: " + caseName), std::string::npos) << listing[2];
    for (int j = 5; j < 55; ++j) {
        ASSERT_EQ(listing[j].size(), 36u) << "record " << j + 1 << ": " << listing[j];
        EXPECT_EQ(listing[j].substr(0, 7), "       ") << "record " << j + 1;
        EXPECT_EQ(listing[j].substr(16, 11), "           ") << "record " << j + 1;
        EXPECT_EQ(listing[j].find('*'), std::string::npos) << "record " << j + 1;
    }
    EXPECT_EQ(listing[56], "Element Number  :   7");

    // The image: a bitmap of the whole pane whose sizes agree with the file.
    const std::string image = readFile(work / "Elem007.bmp");
    ASSERT_GE(image.size(), 54u);
    EXPECT_EQ(image.substr(0, 2), "BM");
    EXPECT_EQ(little32(image, 2), image.size());
    const std::uint32_t width = little32(image, 18);
    const auto rows = static_cast<std::int32_t>(little32(image, 22));  // negative: top row first
    const std::uint32_t height = static_cast<std::uint32_t>(rows < 0 ? -rows : rows);
    const unsigned bitsPerPixel = static_cast<unsigned char>(image[28]);
    EXPECT_GT(width, 0u);
    EXPECT_GT(height, 0u);
    ASSERT_TRUE(bitsPerPixel == 8 || bitsPerPixel == 24) << bitsPerPixel;
    const std::uint32_t rowBytes = (width * bitsPerPixel / 8 + 3) / 4 * 4;
    EXPECT_EQ(little32(image, 10) + rowBytes * height, image.size());

    fs::remove_all(work);
}

} // namespace
