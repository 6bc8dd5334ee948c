// Generated case directories for the run comparisons.

#include "generatedCases.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace strakontest {

namespace {

std::string fixed(const char* format, double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

} // namespace

// A random stiffened box section: deck, bottom and sides of stiffened panels with a few hard
// corners; thin stiffeners on some panels so that a heavy corrosion allowance strips them.
std::string randomGeometry(std::mt19937& random, int& count)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto pick = [&](double low, double high) { return low + (high - low) * unit(random); };
    const int perSide = 4 + static_cast<int>(random() % 12);
    const double breadth = std::round(pick(8000, 30000)), depth = std::round(pick(6000, 20000));
    std::string elements;
    count = 0;
    auto add = [&](double x, double y, double width, int orientation, int kind) {
        const bool thin = unit(random) < 0.2;
        const double plate = std::round(pick(8, 24) * 2) / 2;
        const double web = kind == 1 ? 0 : std::round(pick(100, 450));
        const double webT = kind == 1 ? 0 : (thin ? 1.5 : std::round(pick(8, 16)));
        const double flange = kind == 1 ? 0 : std::round(pick(0, 150));
        const double flangeT = kind == 1 || flange == 0 ? 0 : (thin ? 1.5 : std::round(pick(8, 20)));
        const int set = 1 + static_cast<int>(random() % 2);
        elements += fixed("%7.1f", std::round(pick(1500, 5000))) + fixed("%7.1f", width) + fixed("%7.1f", plate) +
                    fixed("%7.1f", flange) + fixed("%7.1f", flangeT) + fixed("%7.1f", web) + fixed("%7.1f", webT) +
                    fixed("%3.0f", set) + "0.00   0" + fixed("%9.1f", x) + fixed("%9.1f", y) +
                    fixed("%2.0f", orientation) + fixed("%2.0f", kind) + "\r\n";
        ++count;
    };
    const double dx = std::round(breadth / (perSide + 1)), dy = std::round(depth / (perSide + 1));
    add(0, 0, 400, 2, 1);
    add(breadth, depth, 400, 1, 1);
    for (int i = 1; i <= perSide; ++i) {
        add(dx * i, depth, dx, 1, unit(random) < 0.1 ? 2 : 3);
        add(dx * i, 0, dx, 2, 3);
        add(0, dy * i, dy, 4, 3);
        add(breadth, dy * i, dy, 3, 3);
    }
    return "GENERATED SECTION\r\n" + fixed("%10.1f", 1) + fixed("%10.1f", breadth) + fixed("%10.1f", depth) + "\r\n" +
           fixed("%4.0f", count) + "\r\n   A      B      T     BF     TF     HW     TW\r\n" + elements;
}

std::string optionRecord(int behaviour, int shedding, int corrosion, double eta, double heel, int distortion)
{
    return fixed("%2.0f", behaviour) + fixed("%2.0f", shedding) + fixed("%2.0f", corrosion) + fixed("%5.2f", eta) +
           fixed("%5.1f", heel) + fixed("%5.0f", distortion) + "   0\r\n";
}

Case generatedCase(std::mt19937& random, const std::string& name)
{
    Case c;
    c.name = name;
    int count = 0;
    c.files["CASE.geo"] = randomGeometry(random, count);
    c.files["CASE.pro"] = "     235.0  206000.0\r\n     355.0  206000.0\r\n";
    const int studies = 2 + static_cast<int>(random() % 5);
    std::string options = fixed("%2.0f", studies) + "\r\n";
    for (int k = 1; k <= studies; ++k) {
        const double heels[] = {0, 180, 30, 5.9, 90};
        options += optionRecord(1 + static_cast<int>(random() % 3), 1 + static_cast<int>(random() % 2),
                                static_cast<int>(random() % 5), std::round((random() % 600) / 100.0 * 4) / 4,
                                heels[random() % 5], static_cast<int>(random() % 30));
    }
    c.files["CASE.ana"] = options;
    return c;
}

Outcome runCaseWith(const Case& c, const char* variable, const char* value)
{
    TempDir dir;
    std::string stem = "CASE";
    if (!c.example.empty()) {
        stem = c.example.substr(c.example.find('/') + 1);
        copyExample(c.example, dir.path(), stem);
    }
    for (const auto& [name, text] : c.files) writeFile(dir.path() / name, text);
    ::setenv(variable, value, 1);
    Outcome out;
    out.run = runStrakon(dir.path(), {(dir.path() / (stem + ".ana")).string()});
    ::unsetenv(variable);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        out.files[entry.path().filename().string()] = readFile(entry.path());
    return out;
}

} // namespace strakontest
