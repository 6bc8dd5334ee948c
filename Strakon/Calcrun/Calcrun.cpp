// One case study of the collapse calculator, its stops, and the ways callers run it: from memory,
// with its files, and as the driver's runner.

#include "Engine.hpp"
#include "plausibility.hpp"
#include "records/Records.hpp"

#include <cmath>
#include <string>

namespace tarnova {

namespace calcrun {

namespace {

struct NoProgress final : CollapseProgress {
    void boxStarted() override {}
    void stepShown(int) override {}
};
NoProgress noProgress;   // stateless

} // namespace

RunContext::RunContext(RecordUnits& u) : units(u), progress(&noProgress) {}

void RunContext::stopRun(std::string_view detail)
{
    throw CaseStudyStopped(std::string(detail));
}

std::string RunContext::whereInRun() const
{
    std::string where = " (case study " + std::to_string(place.caseStudy) + ", ";
    where += place.step > 0 ? "step " + std::to_string(place.step) : std::string("section properties");
    return where + ")";
}

std::string RunContext::caseInputNamed() const
{
    if (caseName.empty()) return "the section given finds no neutral axis at this curvature";
    return "the section of " + caseName + ".geo and " + caseName + ".pro under option record " +
           std::to_string(place.caseStudy + 1) + " of " + caseName + ".ana finds no neutral axis at this curvature";
}

void RunContext::requireFinite(float value, std::string_view quantity)
{
    if (std::isfinite(value)) return;
    stopRun(std::string(quantity) + " is " + (std::isnan(value) ? "not a number" : "infinite") + whereInRun() +
            "; no result of this case study is valid");
}

void RunContext::stopNulArea(int n)
{
    writeListRecord(screenUnit, {"AREA OF ELEMENT N.", n, " IS NUL"});
    stopRun("AREA OF ELEMENT N. " + std::to_string(n) + " IS NUL" + whereInRun());
}

void RunContext::runCase(std::string_view caseName, int caseStudy, float& result1, float& result2,
                         float& elasticMoment, float& plasticMoment)
{
    place = {caseStudy, 0};
    this->caseName = std::string(caseName);
    options.poissonRatio = 0.3f;
    readCaseOptions(options);
    readSectionModel(caseName, options.corrosionCode, options.tensionBlockWidth);
    trippingStresses(options.poissonRatio);
    sectionProperties(elasticMoment, plasticMoment);
    progressiveCollapse(options.behaviourCode, options.sheddingCode, result1, result2);
}

namespace {

// The results a caller sees, from the context's tables after a case study.
CaseStudyResult resultOf(const RunContext& c, CaseStudyResult r)
{
    const SectionScalars& s = c.section;
    r.properties = {s.sectionArea, s.elasticAxisX, s.elasticAxisY, s.verticalBendingInertia,
                    s.horizontalBendingInertia, s.deckModulus, s.bottomModulus, s.elasticMoment,
                    s.plasticNeutralAxis, s.plasticMoment, s.sectionBreadth, s.sectionDepth};
    r.steps.clear();
    for (int k = 1; k <= stepCount; ++k) {
        const StepResult& step = c.stepResults[static_cast<std::size_t>(k)];
        r.steps.push_back({step.curvature, step.momentX, step.momentY, step.resultantMoment, step.neutralAxisX,
                           step.neutralAxisY});
    }
    r.ultimate = {c.ultimate.moment, c.ultimate.momentX, c.ultimate.momentY, c.ultimate.curvature,
                  c.ultimate.sectionModulus};
    r.elementCount = s.elementCount;
    r.warnings = c.units.notes();
    return r;
}

} // namespace

} // namespace calcrun

using calcrun::RunContext;

CaseStudyResult runCaseStudy(const SectionInput& sectionInput, const CaseOptionsInput& optionsInput, int caseStudy)
{
    RecordUnits nowhere(RecordUnits::Mode::discard);
    auto context = std::make_unique<RunContext>(nowhere);
    RunContext& c = *context;
    CaseStudyResult result;
    c.strainCurves = &result.strainRatio;
    c.stressCurves = &result.elementStress;
    c.place = {caseStudy, 0};
    // Every value is plausible and every set an element names is sound, or the case study stops here.
    calcrun::InputCheck check(calcrun::InputCheck::Mode::stopAtFirst);
    calcrun::checkCaseInput(check, sectionInput, optionsInput, caseStudy);
    c.input = sectionInput;
    c.options = {optionsInput.behaviourCode, optionsInput.sheddingCode, optionsInput.corrosionCode,
                 optionsInput.tensionBlockWidth, optionsInput.heelAngle, optionsInput.distortionCoefficient,
                 optionsInput.spareOption, 0.3f};
    c.applyCaseOptions(c.options);
    c.buildSectionModel("section", static_cast<int>(sectionInput.elements.size()),
                        c.options.corrosionCode, c.options.tensionBlockWidth,
                        [&](int k, float& yieldStress, float& youngsModulus) {
                            yieldStress = sectionInput.materials[static_cast<std::size_t>(k - 1)].yieldStress;
                            youngsModulus = sectionInput.materials[static_cast<std::size_t>(k - 1)].youngsModulus;
                        });
    float result1 = 0, result2 = 0, elastic = 0, plastic = 0;
    c.trippingStresses(c.options.poissonRatio);
    c.sectionProperties(elastic, plastic);
    c.progressiveCollapse(c.options.behaviourCode, c.options.sheddingCode, result1, result2);
    return calcrun::resultOf(c, std::move(result));
}

void openCaseStudyUnits(RecordUnits& units, std::string_view caseName, int caseStudy)
{
    const std::string name(caseName);
    units.openForReading(calcrun::optionsUnit, name + ".ana", 1);
    units.openUnit(calcrun::reportUnit, name + ".rst");
    units.rewindUnit(calcrun::reportUnit);
    units.openUnit(calcrun::traceUnit, "lixo.tmp");
    units.rewindUnit(calcrun::traceUnit);
    units.openUnit(calcrun::curveUnit, name + ".te" + static_cast<char>(64 + caseStudy));
    units.rewindUnit(calcrun::curveUnit);
}

CaseStudyResult runCaseStudyFiles(RecordUnits& units, std::string_view caseName, int caseStudy,
                                  CollapseProgress* progress)
{
    CaseRunner runner(units);
    RunContext& c = runner.context();
    CaseStudyResult result;
    c.strainCurves = &result.strainRatio;
    c.stressCurves = &result.elementStress;
    float result1 = 0, result2 = 0, elastic = 0, plastic = 0;
    calcrun::NoProgress silent;
    runner.runCaseAfterOthers(caseName, caseStudy, result1, result2, elastic, plastic, 0,
                              progress ? *progress : static_cast<CollapseProgress&>(silent));
    units.closeUnit(calcrun::caseResultsUnit);
    units.closeUnit(calcrun::curveUnit);
    return calcrun::resultOf(c, std::move(result));
}

CaseRunner::CaseRunner(RecordUnits& units) : context_(std::make_unique<RunContext>(units)) {}

CaseRunner::~CaseRunner() = default;

void CaseRunner::runCase(std::string_view caseName, int caseStudy, float& result1, float& result2,
                         float& elasticMoment, float& plasticMoment, int paneHeight, CollapseProgress& progress)
{
    (void)paneHeight;  // the driver draws the progress texts at heights it derives from it
    RunContext& c = *context_;
    c.progress = &progress;
    c.runCase(caseName, caseStudy, result1, result2, elasticMoment, plasticMoment);
}

void CaseRunner::runCaseAfterOthers(std::string_view caseName, int caseStudy, float& result1, float& result2,
                                    float& elasticMoment, float& plasticMoment, int paneHeight,
                                    CollapseProgress& progress)
{
    RunContext& c = *context_;
    c.earlierCorrosionCodes.clear();
    for (int k = 1; k < caseStudy; ++k) {
        // An unreadable earlier record stops the run at that case study; this one never counts.
        calcrun::CaseOptions earlier;
        try {
            c.readRecords(calcrun::optionsUnit, calcrun::optionFormat,
                          {earlier.behaviourCode, earlier.sheddingCode, earlier.corrosionCode,
                           earlier.tensionBlockWidth, earlier.heelAngle, earlier.distortionCoefficient,
                           earlier.spareOption});
        } catch (const RecordError&) {
            break;
        }
        c.earlierCorrosionCodes.push_back(earlier.corrosionCode);
    }
    runCase(caseName, caseStudy, result1, result2, elasticMoment, plasticMoment, paneHeight, progress);
}

} // namespace tarnova
