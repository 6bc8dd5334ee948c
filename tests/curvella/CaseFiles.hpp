#pragma once
// Small hand-made cases for the viewer's tests: an element curve file and a geometry file in a
// fresh temporary directory.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarnova::testing {

struct HandCase {
    std::string name = "CASE1";     // the files are name.teA and name.geo
    std::vector<double> x, y;       // element positions (mm); their number is the element count
    int steps = 50;                 // step blocks written (fewer: a calculation that stopped)
    // Strain ratio and stress of element i (from 1) at step j (from 1).
    std::function<double(int i, int j)> strainRatio;
    std::function<double(int i, int j)> stress;
    // The seven dimensions of element i.
    std::function<std::vector<double>(int i)> dimensions;
};

// A fresh, empty directory under the system's temporary directory.
std::filesystem::path freshDirectory(const std::string& label);

// The three-element case used throughout: element 2 rises to 235 at step 12, falls, and reaches
// 235 again at step 30; element 3 is all zero.
HandCase threeElementCase();

void writeCurveFile(const std::filesystem::path& directory, const HandCase& c);
void writeGeometryFile(const std::filesystem::path& directory, const HandCase& c);
void writeCase(const std::filesystem::path& directory, const HandCase& c);

// The whole file as text, and split into records (without their CR LF).
std::string readWhole(const std::filesystem::path& file);
std::vector<std::string> readRecordsOf(const std::filesystem::path& file);

} // namespace tarnova::testing
