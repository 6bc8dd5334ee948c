#pragma once
// Calcrun: the engineering engine of the collapse calculator. For one case study it reads the
// option record, the section geometry and materials, computes the tripping stresses, the elastic
// and plastic section properties and the 50-step progressive collapse, and writes every record of
// the report, the case results file, "AT.T", "lixo.tmp" and the element curve file.
//
// The engine has no display dependency and no mutable globals: everything one case study needs
// lives in a run context (Engine.hpp) with its own unit table, so case studies can run side by
// side on several threads. A stop of the calculation is thrown as CaseStudyStopped, a run-time
// error of a unit table of one's own as RecordError (Records.hpp); neither ends the process.
//
// A case study from memory (no files):
//
//   tarnova::SectionInput section;          // the .geo and .pro records
//   section.elements.push_back({2400, 800, 16, 100, 15, 300, 12, 1, 0, 0, 0, 0, 1, 3});
//   ...
//   section.materials.push_back({235, 206000});
//   tarnova::CaseOptionsInput options{3, 1, 0, 4.5f, 0.0f};   // E/B/T, SHED/CONST, corrosion, eta, heel
//   tarnova::CaseStudyResult r = tarnova::runCaseStudy(section, options);
//   r.ultimate.moment; r.steps[k - 1].moment; r.properties.plasticMoment;
//   r.strainRatio[(k - 1) * r.elementCount + (n - 1)];
//
// The same case study with its files, in the case directory (writes "CASE.rst", "lixo.tmp",
// "CASE.teB", the case results file and "AT.T" as a run of that one case study would):
//
//   tarnova::RecordUnits units;                        // errors come back as RecordError
//   tarnova::openCaseStudyUnits(units, "CASE", 2);     // case study 2 of CASE.ana
//   tarnova::CaseStudyResult r = tarnova::runCaseStudyFiles(units, "CASE", 2);
//   units.closeAllUnits();

#include "records/Records.hpp"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnova {

// Progress of the collapse iteration, drawn by the driver in the graphics pane. H is the
// paneHeight given to runCase.
struct CollapseProgress {
    virtual ~CollapseProgress() = default;
    // Once per case study, before step 1: setColour(11); drawRectangle(2, 40, H - 132, 145, H - 90);
    // moveTo(47, H - 118); drawGraphicText("Position n.").
    virtual void boxStarted() = 0;
    // After each converged step k (1..50): the texts are k (and k - 1) formatted with "(I2)" into
    // 3 characters. When k > 1: moveTo(124, H - 118); setColour(0); drawGraphicText(text of k - 1).
    // Then moveTo(124, H - 118); setColour(11); drawGraphicText(text of k).
    virtual void stepShown(int step) = 0;
};

// A stop of the calculation, with what to show (`what()`):
//   - input rejected before any table is written (file, record and value named),
//   - an element count that differs from the one the geometry file declares,
//   - an element of nul area: the engine has already written "AREA OF ELEMENT N." n " IS NUL" as a
//     list-form record on the screen unit; the text repeats it with the case study and step,
//   - more than 60 unconverged iterations in a step (case study and step named).
// Records written before the stop stay in their files. The driver shows the text and ends with
// a non-zero status (stopProgram).
struct CaseStudyStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// ---- Inputs: the records of the case files, as plain values ---------------------------------

// One element record of the geometry file (thicknesses before any corrosion allowance).
struct ElementRecord {
    float frameSpacing = 0, plateWidth = 0, plateThickness = 0, flangeWidth = 0, flangeThickness = 0;
    float webHeight = 0, webThickness = 0, propertySet = 1, spareGeometryValue = 0, totalDepth = 0;
    float x = 0, y = 0;
    std::int32_t orientation = 0, elementKind = 0;
};

// One record of the properties file.
struct MaterialRecord {
    float yieldStress = 0, youngsModulus = 0;
};

// The geometry file (title, header values, headings line, elements) and the properties file.
struct SectionInput {
    std::string title, headings;
    float firstHeaderValue = 0, breadth = 0, depth = 0;
    std::vector<ElementRecord> elements;
    std::vector<MaterialRecord> materials;   // set 1 first
};

// One option record of the options file; the heel angle in degrees.
struct CaseOptionsInput {
    std::int32_t behaviourCode = 3, sheddingCode = 1, corrosionCode = 0;
    float tensionBlockWidth = 0, heelAngle = 0, distortionCoefficient = 0, spareOption = 0;
};

// ---- Outputs ------------------------------------------------------------------------------

// One converged curvature step (N.mm, 1/mm, mm).
struct StepOutput {
    float curvature = 0, momentX = 0, momentY = 0, moment = 0, neutralAxisX = 0, neutralAxisY = 0;
};

// The ultimate bending moment and its companions (those of the step it was found at).
struct UltimateOutput {
    float moment = 0, momentX = 0, momentY = 0, curvature = 0, sectionModulus = 0;
};

// Elastic and plastic properties of the intact section (mm, mm2, mm3, mm4, N.mm).
struct SectionPropertiesOutput {
    float sectionArea = 0, neutralAxisX = 0, neutralAxisY = 0;
    float verticalBendingInertia = 0, horizontalBendingInertia = 0, deckModulus = 0, bottomModulus = 0;
    float elasticMoment = 0, plasticNeutralAxis = 0, plasticMoment = 0;
    float sectionBreadth = 0, sectionDepth = 0;
};

struct CaseStudyResult {
    SectionPropertiesOutput properties;
    std::vector<StepOutput> steps;           // steps 1..50
    UltimateOutput ultimate;
    int elementCount = 0;
    // Element curves, step by step: value of element n at step k at [(k - 1) * elementCount + n - 1].
    std::vector<float> strainRatio, elementStress;
    std::vector<std::string> warnings;       // notes of the run (from memory only; with files they go to stderr)
};

// Runs one case study from memory: nothing is read or written. Throws CaseStudyStopped.
CaseStudyResult runCaseStudy(const SectionInput& section, const CaseOptionsInput& options, int caseStudy = 1);

// Opens, in `units`, what case study `caseStudy` of "<caseName>.ana" needs: unit 21 on the options
// file after the records before the case study's own, units 22 ("<caseName>.rst") and 24
// ("lixo.tmp") rewritten, unit 25 on its element curve file ("<caseName>.te" and its letter).
void openCaseStudyUnits(RecordUnits& units, std::string_view caseName, int caseStudy);
// Runs one case study with its files on `units` (units 21, 22, 24 and 25 open as a run leaves them
// when it comes to the case study); closes units 5 and 25 after it. Throws CaseStudyStopped, and
// RecordError when `units` is not the program's own table.
CaseStudyResult runCaseStudyFiles(RecordUnits& units, std::string_view caseName, int caseStudy,
                                  CollapseProgress* progress = nullptr);

// ---- Geometry checks ----------------------------------------------------------------------

// What is merely unusual in a section, as warnings that say which typing slip it may be: two
// elements on one spot, an element far outside the header's breadth or depth, an orientation
// not 1 to 4, a yield stress or Young's modulus outside what steel and aluminium have, slender
// plates and webs, property sets unused or missing. Nothing here stops a run.
std::vector<std::string> sectionWarnings(const SectionInput& section);

// Reads "<stem>.geo" and "<stem>.pro" (every property record) as the calculator reads them, for
// the checks above. Returns false with `problem` set when they cannot be read that way.
bool readSectionFiles(std::string_view stem, SectionInput& section, std::string& problem);

namespace calcrun {
class RunContext;
}

// The engine state of a run of case studies on one unit table: the driver's sequence for one
// case study, with tables that carry over from one case study to the next as the classic program's
// do. Expects units 21 (options, past the records already read), 22 (report), 24 ("lixo.tmp") and
// 25 (element curve file) open. Unit 5 stays open; the driver closes it after the case.
class CaseRunner {
public:
    explicit CaseRunner(RecordUnits& units = defaultUnits());
    ~CaseRunner();
    CaseRunner(const CaseRunner&) = delete;
    CaseRunner& operator=(const CaseRunner&) = delete;

    //   caseName     trimmed case name: the stem of the .geo and .pro files
    //   caseStudy    number of the case study (1..), for the stop messages
    //   result1      ultimate bending moment, N.mm
    //   result2      curvature of the last step, 1/mm
    //   elasticMoment, plasticMoment  first-yield and fully plastic moments, N.mm
    //   paneHeight   height of the graphics pane, passed on to nothing but the progress texts
    void runCase(std::string_view caseName, int caseStudy, float& result1, float& result2, float& elasticMoment,
                 float& plasticMoment, int paneHeight, CollapseProgress& progress);

    // A case study run on its own, after earlier ones that ran elsewhere: reads the option
    // records of case studies 1 to caseStudy - 1 from unit 21 (positioned after the case count)
    // for what they leave behind in the tables, then runs the case study as runCase does.
    void runCaseAfterOthers(std::string_view caseName, int caseStudy, float& result1, float& result2,
                            float& elasticMoment, float& plasticMoment, int paneHeight, CollapseProgress& progress);

    calcrun::RunContext& context() { return *context_; }

private:
    std::unique_ptr<calcrun::RunContext> context_;
};

} // namespace tarnova
