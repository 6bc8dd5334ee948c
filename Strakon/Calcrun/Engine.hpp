#pragma once
// The engine's procedures, in the order a case study calls them, as members of the run context
// that holds their tables. Calcrun.hpp is what callers use; this header is for the engine's own
// files and its tests.

#include "Tables.hpp"
#include "elementArrays.hpp"
#include "Calcrun.hpp"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnova::calcrun {

// ---- Procedures without state -------------------------------------------------------------

// Decimal digits of a non-negative value, zero-padded to at least minDigits, into a 10-character
// text; the value is consumed. A negative value gives "-" and the digits of its magnitude.
void zeroPaddedDigits(FixedText& text, int& value, int minDigits);
// "jc", the four codes, two digits of the distortion coefficient, ".", three digits of the heel
// (a negative heel by its equivalent angle from 0 to 360).
std::string caseResultsFileName(const CaseOptions& o);
float modeInteraction(int j);
inline float elasticPlasticRatio(float x) { return x > 1.0f ? 1.0f : (x < -1.0f ? -1.0f : x); }
float residualStressFactor(float phi, float r);
struct PlateStrength {
    float strengthRatio = 1.0f;   // phi_u
    float stiffnessRatio = 1.0f;  // psi
};
PlateStrength plateStrength(float phi, float aspect, float beta, int behaviourCode, int sheddingCode,
                            int elementKind);
// Peak search over steps k - 2, k - 1 and k (k >= 4) of `steps`, updating `u`.
void searchPeak(Ultimate& u, const StepTable& steps, int k, float maxYieldStress);
// Convergence of the neutral-axis move: relative to the axis height, or in mm at height 0.
bool axisShiftConverged(float axisShift, float axisY);
// Stiffener area of an element record once the corrosion allowance of `corrosionCode` is taken off
// (the same operations as the section model).
float stiffenerAreaAfterCorrosion(const ElementRecord& r, int corrosionCode);

// ---- The run context ----------------------------------------------------------------------

// Everything one run of case studies needs: the tables, the unit table its records go to, where
// the run is, and the progress display. Two contexts share nothing. The record statements below
// hide the free functions of Records.hpp inside the procedures, so every record of a context goes
// to its own units.
class RunContext {
public:
    explicit RunContext(RecordUnits& units);

    RecordUnits& units;
    ElementTable element;
    MaterialTable material;
    CaseOptions options;
    SectionScalars section;
    TrippingTable trippingStress;
    StepTable stepResults;
    Ultimate ultimate;
    RunPlace place;
    CollapseProgress* progress = nullptr;
    // When set, the element curves of every step are kept here (step-major, as CaseStudyResult).
    std::vector<float>* strainCurves = nullptr;
    std::vector<float>* stressCurves = nullptr;
    // Corrosion codes of the case studies a one-thread run would have run in this context before
    // (for the tripping columns they leave behind).
    std::vector<int> earlierCorrosionCodes;
    // The section as read (thicknesses before corrosion), kept for earlierCorrosionCodes.
    SectionInput input;

    // A note when the largest moment of the collapse is the last step's.
    void warnIfPeakNotReached();

    // ---- Stops
    // Ends the case study: throws CaseStudyStopped.
    [[noreturn]] void stopRun(std::string_view detail);
    // " (case study c, step k)" or " (case study c, section properties)".
    std::string whereInRun() const;
    // Writes "AREA OF ELEMENT N." n " IS NUL" on the screen unit and stops.
    [[noreturn]] void stopNulArea(int n);
    // Stops the case study, naming the quantity, the case study and the step, when a result is NaN
    // or infinite: such a value is never written as a result.
    void requireFinite(float value, std::string_view quantity);
    // The input of the case study: its option record and the section files (or the section given).
    std::string caseInputNamed() const;
    std::string caseName;   // the stem of the case files; empty for a section given in memory

    // ---- The case study
    void runCase(std::string_view caseName, int caseStudy, float& result1, float& result2, float& elasticMoment,
                 float& plasticMoment);

    // ---- Analysis options
    // Reads the next option record of unit 21, then applyCaseOptions.
    void readCaseOptions(CaseOptions& o);
    // Echoes the options, opens unit 5 on the case results file, converts the heel to radians.
    void applyCaseOptions(CaseOptions& o);

    // ---- Section model
    // Reads "<caseName>.geo" and "<caseName>.pro" (units 2 and 3), then buildSectionModel.
    void readSectionModel(std::string_view caseName, int corrosionCode, float tensionBlockWidth);
    // Fills the tables from a section already held to the table of ranges (checkSectionFiles or
    // checkCaseInput); stops when the element count differs from the declared one. Writes the head
    // of the element curve file and the trace. `readMaterial(k, yieldStress, youngsModulus)` gives
    // property set k.
    void buildSectionModel(std::string_view geometryFile, int declaredCount, int corrosionCode,
                           float tensionBlockWidth,
                           const std::function<void(int, float&, float&)>& readMaterial);

    // ---- Tripping
    void trippingStresses(float poissonRatio);

    // ---- Section properties
    void sectionProperties(float& elasticMoment, float& plasticMoment);
    // Plastic neutral axis and plastic moment of the lumped section (weighted median of the yield
    // forces); results in `section`.
    void plasticProperties();

    // ---- Element load-shortening model
    float radiusOfGyration(float ape, float aps, float zp, float as, float zs, float is, int n);
    float columnStrength(int n, float yieldStrain, float phiC, float area, float rho, int sheddingCode);
    float elementForce(int n, float curvature, float xna, float yna, float theta);
    // The instruction set of the element model in the collapse iteration (scalar: elementForce
    // element by element). Every choice gives the same bits.
    ElementKernel elementKernel = defaultElementKernel();
    // The element table as arrays for the element kernel, loaded when the collapse iteration starts.
    ElementArrays elementArrays;
    void loadElementArrays();
    // The last evaluation's strain ratios, stresses and plate areas back into the element table.
    void storeElementArrays();

    // ---- Collapse iteration
    void progressiveCollapse(int behaviourCode, int sheddingCode, float& result1, float& result2);

    // ---- Element curve file
    void writeCurveHead();
    void writeCurveStep(int step, float curvature, float resultantMoment, float momentX, float momentY);

    // ---- Record statements on this context's units
    void openUnit(int unit, std::string_view fileName) { units.openUnit(unit, fileName); }
    void rewindUnit(int unit) { units.rewindUnit(unit); }
    bool atEndOfUnit(int unit) { return units.atEndOfUnit(unit); }
    void closeUnit(int unit) { units.closeUnit(unit); }
    void readRecords(int unit, std::string_view format, std::initializer_list<ReadItem> items)
    {
        units.readRecords(unit, format, items);
    }
    void writeRecords(int unit, std::string_view format, std::initializer_list<WriteItem> items)
    {
        units.writeRecords(unit, format, items);
    }
    void writeListRecord(int unit, std::initializer_list<ListItem> items = {}) { units.writeListRecord(unit, items); }

private:
    struct Heel {
        float theta = 0.0f, cosine = 1.0f, sine = 0.0f;
    };
    Heel heel_;   // cos and sin of the last heel angle: every element of an iteration shares it
    std::array<float, maxElements> column_{};   // one list of the element curve file
};

} // namespace tarnova::calcrun
