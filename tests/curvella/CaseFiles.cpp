#include "CaseFiles.hpp"

#include "records/Records.hpp"

#include <fstream>
#include <span>
#include <sstream>
#include <unistd.h>

namespace tarnova::testing {

namespace fs = std::filesystem;

namespace {
constexpr int scratchUnit = 90;
}

fs::path freshDirectory(const std::string& label)
{
    static int serial = 0;
    const fs::path dir = fs::temp_directory_path() /
                         ("curvella-" + label + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

HandCase threeElementCase()
{
    HandCase c;
    c.x = {0, 1000, 1000};
    c.y = {0, 0, 500};
    c.strainRatio = [](int i, int j) {
        if (i == 1) return -0.01 * j;
        if (i == 2) return 0.1 * j;
        return 0.0;
    };
    c.stress = [](int i, int j) {
        if (i == 1) return -5.0 * j;
        if (i == 2) {
            if (j <= 12) return 20.0 * j - 5;
            if (j == 30) return 235.0;
            return j < 30 ? 200.0 : 100.0;
        }
        return 0.0;
    };
    c.dimensions = [](int i) {
        if (i == 2) return std::vector<double>{800, 1000, 15.5, 100000, 0, 300, 11};
        return std::vector<double>{800, 600.0 + i, 14, 0, 0, 0, 0};
    };
    return c;
}

void writeCurveFile(const fs::path& directory, const HandCase& c)
{
    const int n = static_cast<int>(c.x.size());
    openUnit(scratchUnit, (directory / (c.name + ".teA")).string());
    rewindUnit(scratchUnit);
    writeRecords(scratchUnit, "(I4)", {n});
    for (int i = 0; i < n; ++i) writeRecords(scratchUnit, "(3F10.1)", {c.x[i], c.y[i], 235.0});
    std::vector<double> values(n);
    for (int j = 1; j <= c.steps; ++j) {
        writeRecords(scratchUnit, "(' Itera\xe7\xe3o:',I4,10X,' Curvatura=',E12.4,/,3E12.4)",
                     {j, 1.0e-7 * j, 1.0e9, 2.0e9, 3.0e9});
        for (int i = 0; i < n; ++i) values[i] = c.strainRatio(i + 1, j);
        writeRecords(scratchUnit, "(10E9.3)", {std::span<const double>(values)});
        for (int i = 0; i < n; ++i) values[i] = c.stress(i + 1, j);
        writeRecords(scratchUnit, "(10E9.3)", {std::span<const double>(values)});
    }
    closeUnit(scratchUnit);
}

void writeGeometryFile(const fs::path& directory, const HandCase& c)
{
    const int n = static_cast<int>(c.x.size());
    openUnit(scratchUnit, (directory / (c.name + ".geo")).string());
    rewindUnit(scratchUnit);
    writeRecords(scratchUnit, "(A80)", {"Hand-made section"});
    writeRecords(scratchUnit, "(3F10.1)", {1.0, 1000.0, 500.0});
    writeRecords(scratchUnit, "(I4)", {n});
    writeRecords(scratchUnit, "(A80)", {"  spacing  width  thick"});
    for (int i = 1; i <= n; ++i) {
        const std::vector<double> d = c.dimensions(i);
        // Flange widths are whole numbers written without a fraction, so that a width of 100000
        // still fits its 7 columns as "100000.".
        writeRecords(scratchUnit, "(3F7.1,F7.0,3F7.1,F3.0,2F4.2,2F9.1,2I2)",
                     {d[0], d[1], d[2], d[3], d[4], d[5], d[6], 1.0, 0.0, 0.0, c.x[i - 1], c.y[i - 1], 1, 3});
    }
    closeUnit(scratchUnit);
}

void writeCase(const fs::path& directory, const HandCase& c)
{
    writeCurveFile(directory, c);
    writeGeometryFile(directory, c);
}

std::string readWhole(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> readRecordsOf(const fs::path& file)
{
    std::vector<std::string> records;
    std::istringstream in(readWhole(file));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        records.push_back(line);
    }
    return records;
}

} // namespace tarnova::testing
