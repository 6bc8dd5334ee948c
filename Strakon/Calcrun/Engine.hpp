#pragma once
// The engine's procedures, in the order a case study calls them. Calcrun.hpp is what the driver
// uses; this header is for the engine's own files and its tests.

#include "Tables.hpp"
#include "Calcrun.hpp"

#include <string>
#include <string_view>

namespace tarnova::calcrun {

// ---- Stops -------------------------------------------------------------------------------
// Ends the run through the driver's stop handler (never returns).
[[noreturn]] void stopRun(std::string_view detail);
// " (case study c, step k)" or " (case study c, section properties)".
std::string whereInRun();
// The input of the current case study: its option record and the section files.
std::string caseInputNamed();
// Writes "AREA OF ELEMENT N." n " IS NUL" on the screen unit and stops.
[[noreturn]] void stopNulArea(int n);
// Stops the run, naming the quantity, the case study and the step, when a result is NaN or
// infinite: such a value is never written as a result.
void requireFinite(float value, std::string_view quantity);

// ---- Analysis options --------------------------------------------------------------------
// Reads the next option record of unit 21, echoes it, opens unit 5 on the case results file and
// converts the heel angle to radians.
void readCaseOptions(CaseOptions& o);
// Decimal digits of a non-negative value, zero-padded to at least minDigits, into a 10-character
// text; the value is consumed. A negative value gives "-" and the digits of its magnitude.
void zeroPaddedDigits(FixedText& text, int& value, int minDigits);
// "jc", the four codes, two digits of the distortion coefficient, ".", three digits of the heel.
std::string caseResultsFileName(const CaseOptions& o);

// ---- Section model -----------------------------------------------------------------------
// Reads "<caseName>.geo" and "<caseName>.pro" (units 2 and 3), fills the tables, writes the head
// of the element curve file and the trace.
void readSectionModel(std::string_view caseName, int corrosionCode, float tensionBlockWidth);

// ---- Tripping ----------------------------------------------------------------------------
float modeInteraction(int j);
void trippingStresses(float poissonRatio);

// ---- Section properties ------------------------------------------------------------------
void sectionProperties(float& elasticMoment, float& plasticMoment);
// Plastic neutral axis and plastic moment of the lumped section (weighted median of the yield
// forces); results in `section`.
void plasticProperties();

// ---- Element load-shortening model -------------------------------------------------------
inline float elasticPlasticRatio(float x) { return x > 1.0f ? 1.0f : (x < -1.0f ? -1.0f : x); }
float residualStressFactor(float phi, float r);
struct PlateStrength {
    float strengthRatio = 1.0f;   // phi_u
    float stiffnessRatio = 1.0f;  // psi
};
PlateStrength plateStrength(float phi, float aspect, float beta, int behaviourCode, int sheddingCode,
                            int elementKind);
float radiusOfGyration(float ape, float aps, float zp, float as, float zs, float is, int n);
float columnStrength(int n, float yieldStrain, float phiC, float area, float rho, int sheddingCode);
float elementForce(int n, float curvature, float xna, float yna, float theta);

// ---- Collapse iteration ------------------------------------------------------------------
// Peak search over steps k - 2, k - 1 and k (k >= 4) of `steps`, updating `u`.
void searchPeak(Ultimate& u, const StepTable& steps, int k, float maxYieldStress);
// Convergence of the neutral-axis move: relative to the axis height, or in mm at height 0.
bool axisShiftConverged(float axisShift, float axisY);
void progressiveCollapse(int behaviourCode, int sheddingCode, float& result1, float& result2,
                         CollapseProgress& progress);

// ---- Element curve file ------------------------------------------------------------------
void writeCurveHead();
void writeCurveStep(int step, float curvature, float resultantMoment, float momentX, float momentY);

} // namespace tarnova::calcrun
