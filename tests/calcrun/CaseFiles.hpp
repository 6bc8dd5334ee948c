#pragma once
// Small case directories for the engine's tests: fixed-column .ana/.geo/.pro writers, a scratch
// directory made current for the test, a do-nothing progress and a test fixture with its own run context.

#include "Engine.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnova::calcrun::test {

// What a stop of the calculation throws.
using RunStopped = CaseStudyStopped;

struct GeoElement {
    float frameSpacing = 2400, plateWidth = 800, plateThickness = 16, flangeWidth = 0, flangeThickness = 0;
    float webHeight = 0, webThickness = 0, propertySet = 1, spare = 0, depth = 0, x = 0, y = 0;
    int orientation = 1, kind = 3;
};

struct CaseOptionsText {
    int behaviour = 3, shedding = 1, corrosion = 0;
    float tensionBlock = 0, heel = 0, distortion = 0;
};

// Makes a fresh directory current for the test's life and restores the old one afterwards.
class ScratchCase {
public:
    ScratchCase();
    ~ScratchCase();
    void writeGeometry(const std::vector<GeoElement>& elements, int declaredCount = -1);
    void writeProperties(const std::vector<std::pair<float, float>>& sets);
    void writeOptions(const std::vector<CaseOptionsText>& cases);
    // Opens units 21, 22, 24 and 25 as the driver does and reads the case count.
    void openRunUnits();
    void closeRunUnits();
    static std::string read(const std::string& file);
    static std::vector<std::string> lines(const std::string& file);

private:
    std::filesystem::path previous_, directory_;
    bool open_ = false;
};

struct SilentProgress : CollapseProgress {
    int boxes = 0, lastStep = 0;
    void boxStarted() override { ++boxes; }
    void stepShown(int step) override { lastStep = step; }
};

// One case study of case "CASE" with the files written by the ScratchCase.
void runOneCase(RunContext& run, float& result1, float& result2, float& elastic, float& plastic,
                int caseStudy = 1);

} // namespace tarnova::calcrun::test

namespace tarnova::calcrun {

// A test with a run context of its own on the program's unit table: the engine's tables and
// procedures are the test's members.
struct EngineTest : ::testing::Test, RunContext {
    EngineTest() : RunContext(defaultUnits()) {}
};

} // namespace tarnova::calcrun::test
