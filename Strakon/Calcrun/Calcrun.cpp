// One case study of the collapse calculator, and the stops of the run.

#include "Engine.hpp"
#include "records/Records.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tarnova {

namespace {

[[noreturn]] void defaultStop(std::string_view detail)
{
    std::fprintf(stderr, "%s\nStop - Program terminated.\n", escapeControlBytes(detail, true).c_str());
    closeAllUnits();
    std::exit(3);
}

StopHandler stopHandler = defaultStop;
std::string currentCaseName;   // the stem of the case files of the running case study

} // namespace

void setStopHandler(StopHandler handler)
{
    stopHandler = handler != nullptr ? handler : defaultStop;
}

namespace calcrun {

void stopRun(std::string_view detail)
{
    stopHandler(detail);
    // A handler must not return; end the run regardless.
    defaultStop(detail);
}

std::string whereInRun()
{
    std::string where = " (case study " + std::to_string(context.caseStudy) + ", ";
    where += context.step > 0 ? "step " + std::to_string(context.step) : std::string("section properties");
    return where + ")";
}

std::string caseInputNamed()
{
    return "the section of " + currentCaseName + ".geo and " + currentCaseName + ".pro under option record " +
           std::to_string(context.caseStudy + 1) + " of " + currentCaseName +
           ".ana finds no neutral axis at this curvature";
}

void stopNulArea(int n)
{
    writeListRecord(screenUnit, {"AREA OF ELEMENT N.", n, " IS NUL"});
    stopRun("AREA OF ELEMENT N. " + std::to_string(n) + " IS NUL" + whereInRun());
}

void requireFinite(float value, std::string_view quantity)
{
    if (std::isfinite(value)) return;
    stopRun(std::string(quantity) + " is " + (std::isnan(value) ? "not a number" : "infinite") + whereInRun() +
            "; no result of this case study is valid");
}

} // namespace calcrun

void runCase(std::string_view caseName, int caseStudy, float& result1, float& result2, float& elasticMoment,
             float& plasticMoment, int paneHeight, CollapseProgress& progress)
{
    using namespace calcrun;
    (void)paneHeight;  // the driver draws the progress texts at heights it derives from it
    context = {caseStudy, 0};
    currentCaseName = std::string(caseName);
    options.poissonRatio = 0.3f;
    readCaseOptions(options);
    readSectionModel(caseName, options.corrosionCode, options.tensionBlockWidth);
    trippingStresses(options.poissonRatio);
    sectionProperties(elasticMoment, plasticMoment);
    progressiveCollapse(options.behaviourCode, options.sheddingCode, result1, result2, progress);
}

} // namespace tarnova
