#pragma once
// The assessment of a case against its design limits: the intact rule check per condition and
// direction, the residual strength of each damaged section, and the interaction of vertical and
// horizontal bending over the heel angles. Every study runs in memory through the engine, side
// by side on a small pool of threads; the damaged cases also run with their files.

#include "caseFiles.hpp"
#include "limits.hpp"

#include <functional>
#include <string>
#include <vector>

namespace tarnova::collaudo {

inline constexpr double newtonMillimetresPerKilonewtonMetre = 1e6;

// What the assessment takes from one study (moments in kN.m).
struct StudySummary {
    double ultimate = 0, momentX = 0, momentY = 0;
    int peakStep = 0;           // step of the largest moment, 1..50
    bool peakReached = false;   // false when the largest moment is the last step's
    // The smallest moment at which an element reaches its own yield stress (elastic): at the
    // first step every element is elastic and its strain ratio grows with the moment, so it is
    // M1 / max |strain ratio| there, reached first by that element (from 1).
    double firstYield = 0;
    int firstYieldElement = 0;
};
StudySummary summarise(const CaseStudyResult& result);

// One row of the check: M = gammaS Msw + gammaW Mwv against capacity = Mu / (gammaM gammaDB).
struct CheckRow {
    std::string caseName;      // "intact" or the damage's name
    std::string condition, direction;
    double msw = 0, mwv = 0, gammaS = 0, gammaW = 0, gammaM = 0, gammaDB = 0;
    double moment = 0, ultimate = 0, capacity = 0, utilisation = 0;
    bool pass = false;
    bool peakReached = true;   // of the study that gave Mu
};
CheckRow checkRow(std::string caseName, std::string condition, std::string direction, double msw, double mwv,
                  double gammaS, double gammaW, double gammaM, double gammaDB, double ultimate);

// The zone a damage removes (closed ranges of element reference points, mm).
struct Zone {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};
Zone damageZone(const Damage& damage, const SectionInput& section);
// Indices (0-based, ascending) of the elements whose reference point lies in the zone.
std::vector<int> elementsInZone(const Zone& zone, const SectionInput& section);

struct DamageResult {
    Damage damage;
    Zone zone;
    int removed = 0, remaining = 0;
    std::string folder;        // CASE_<damage>, beside CASE.ana
    StudySummary sagging, hogging;
    bool rotates = false;      // |My| > 5 % of |Mx| at Mu in either direction
};

struct InteractionPoint {
    double angle = 0;          // degrees, 0 to 360
    double ultimate = 0, vertical = 0, horizontal = 0;   // Mu, Mu cos, Mu sin (kN.m)
    int peakStep = 0;
    bool peakReached = true;
};

struct Assessment {
    std::string caseName;
    int study = 1, interactionStudy = 1;
    CaseOptionsInput options;  // the check's
    StudySummary sagging, hogging;
    std::vector<CheckRow> rows;
    std::vector<DamageResult> damages;
    std::vector<InteractionPoint> interaction;
    std::vector<std::string> notes;   // peak not reached, neutral axis rotation
};

// The heel the engine takes for an angle of the interaction (-99.9 to 999.9 degrees).
float engineHeel(double angle);
// The interaction's angles: k * 360 / count, k = 0 .. count - 1.
std::vector<double> interactionAngles(int count);

// Runs everything on up to `threads` threads (0: one per processor). With `writeCases` the damaged
// cases are written into folders beside the case and run with their files; otherwise in memory.
// Throws CaseStudyStopped, RecordError or CaseInputError.
Assessment assess(const CaseInput& input, const Limits& limits, int threads, bool writeCases);

// Mu at each angle for the options of one case study (in memory).
std::vector<InteractionPoint> interaction(const SectionInput& section, const CaseOptionsInput& options,
                                          const std::vector<double>& angles, int threads);

// Runs job(i), i in [0, count), on up to `threads` threads; the first failure by index is rethrown.
void runParallel(std::size_t count, int threads, const std::function<void(std::size_t)>& job);

} // namespace tarnova::collaudo
