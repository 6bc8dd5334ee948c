#include "CaseFiles.hpp"

#include "records/Records.hpp"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tarnova::calcrun::test {

namespace {

std::string fixed(const char* format, double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

} // namespace

ScratchCase::ScratchCase()
{
    previous_ = std::filesystem::current_path();
    char pattern[] = "/tmp/calcrunXXXXXX";
    directory_ = ::mkdtemp(pattern);
    std::filesystem::current_path(directory_);
}

ScratchCase::~ScratchCase()
{
    if (open_) closeRunUnits();
    for (int unit : {geometryUnit, propertiesUnit, caseResultsUnit}) closeUnit(unit);
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void ScratchCase::writeGeometry(const std::vector<GeoElement>& elements, int declaredCount)
{
    std::ofstream geo("CASE.geo", std::ios::binary);
    geo << "TEST SECTION\r\n";
    geo << fixed("%10.1f", 1.0) << fixed("%10.1f", 0.0) << fixed("%10.1f", 0.0) << "\r\n";
    geo << fixed("%4.0f", declaredCount < 0 ? static_cast<double>(elements.size()) : declaredCount) << "\r\n";
    geo << "   A      B      T     BF     TF     HW     TW\r\n";
    for (const GeoElement& e : elements) {
        for (float v : {e.frameSpacing, e.plateWidth, e.plateThickness, e.flangeWidth, e.flangeThickness, e.webHeight,
                        e.webThickness}) {
            geo << fixed("%7.1f", static_cast<double>(v));
        }
        geo << fixed("%3.0f", static_cast<double>(e.propertySet)) << fixed("%4.2f", static_cast<double>(e.spare))
            << fixed("%4.0f", static_cast<double>(e.depth)) << fixed("%9.1f", static_cast<double>(e.x))
            << fixed("%9.1f", static_cast<double>(e.y)) << fixed("%2.0f", e.orientation) << fixed("%2.0f", e.kind)
            << "\r\n";
    }
}

void ScratchCase::writeProperties(const std::vector<std::pair<float, float>>& sets)
{
    std::ofstream pro("CASE.pro", std::ios::binary);
    for (auto [sy, e] : sets) {
        pro << fixed("%10.1f", static_cast<double>(sy)) << fixed("%10.1f", static_cast<double>(e)) << "\r\n";
    }
}

void ScratchCase::writeOptions(const std::vector<CaseOptionsText>& cases)
{
    std::ofstream ana("CASE.ana", std::ios::binary);
    ana << fixed("%2.0f", static_cast<double>(cases.size())) << "\r\n";
    for (const CaseOptionsText& c : cases) {
        ana << fixed("%2.0f", c.behaviour) << fixed("%2.0f", c.shedding) << fixed("%2.0f", c.corrosion)
            << fixed("%5.2f", static_cast<double>(c.tensionBlock)) << fixed("%5.1f", static_cast<double>(c.heel))
            << fixed("%5.0f", std::round(static_cast<double>(c.distortion) * 10000.0))  // 4 implied decimals
            << "   0\r\n";
    }
}

void ScratchCase::openRunUnits()
{
    openUnit(optionsUnit, "CASE.ana");
    rewindUnit(optionsUnit);
    std::int32_t caseCount = 0;
    readRecords(optionsUnit, "(I2)", {caseCount});
    openUnit(reportUnit, "CASE.rst");
    rewindUnit(reportUnit);
    openUnit(traceUnit, "lixo.tmp");
    rewindUnit(traceUnit);
    openUnit(curveUnit, "CASE.teA");
    rewindUnit(curveUnit);
    open_ = true;
}

void ScratchCase::closeRunUnits()
{
    for (int unit : {curveUnit, caseResultsUnit, traceUnit, optionsUnit, reportUnit}) closeUnit(unit);
    open_ = false;
}

std::string ScratchCase::read(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ScratchCase::lines(const std::string& file)
{
    std::vector<std::string> result;
    std::istringstream in(read(file));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        result.push_back(line);
    }
    return result;
}

void runOneCase(RunContext& run, float& result1, float& result2, float& elastic, float& plastic, int caseStudy)
{
    SilentProgress progress;
    run.progress = &progress;
    run.runCase("CASE", caseStudy, result1, result2, elastic, plastic);
}

} // namespace tarnova::calcrun::test
