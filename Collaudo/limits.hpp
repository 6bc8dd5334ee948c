#pragma once
// The design limits of an assessment, read from "CASE.lim" (TOML): the loading conditions with
// their still-water and wave moments, the damages, and the interaction's angles.
//
// Every default factor comes from the common structural rules for bulk carriers and oil tankers,
// hull girder ultimate and residual strength (docs/assessment.md cites the paragraphs).

#include <string>
#include <string_view>
#include <vector>

namespace tarnova::collaudo {

// Partial safety factors of the intact check: M = gammaS Msw + gammaW Mwv against
// Mu / (gammaM gammaDB).
inline constexpr double ruleGammaS = 1.0;
inline constexpr double ruleGammaW = 1.2;
inline constexpr double ruleGammaM = 1.1;
inline constexpr double ruleGammaDbHogging = 1.15;
inline constexpr double ruleGammaDbSagging = 1.0;
// Residual strength after damage: MD = gammaS Msw + gammaW Mwv against C_NA MuD / gammaRD.
inline constexpr double ruleDamagedGammaS = 1.0;
inline constexpr double ruleDamagedGammaW = 0.67;
inline constexpr double ruleGammaRD = 1.0;
inline constexpr double ruleNeutralAxisCollision = 1.1;
inline constexpr double ruleNeutralAxisGrounding = 1.0;
// Rule damage extents, as fractions of the section's depth D and breadth B (reference points).
inline constexpr double collisionHeightOfDepth = 0.75;     // down from the deck
inline constexpr double collisionDepthOfBreadth = 1.0 / 16; // in from the side shell
inline constexpr double groundingHeightOfBreadth = 1.0 / 20; // up from the keel
inline constexpr double groundingHeightLimit = 2000.0;      // mm
inline constexpr double groundingWidthOfBreadth = 0.6;      // about the centreline

inline constexpr int defaultAngleCount = 24;
inline constexpr int maxAngleCount = 360;

struct Condition {
    std::string name;
    double mswHogging = 0, mswSagging = 0, mwvHogging = 0, mwvSagging = 0;   // kN.m, magnitudes
    double gammaS = ruleGammaS, gammaW = ruleGammaW, gammaM = ruleGammaM;
    double gammaDbHogging = ruleGammaDbHogging, gammaDbSagging = ruleGammaDbSagging;
};

enum class DamageKind { collision, grounding, box };

struct Damage {
    std::string name;
    DamageKind kind = DamageKind::box;
    bool starboard = false;                       // collision: the larger x side
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // box, mm in the .geo's coordinates
    double gammaS = ruleDamagedGammaS, gammaW = ruleDamagedGammaW, gammaRD = ruleGammaRD;
    double neutralAxis = 1.0;                     // C_NA: by kind unless given
};

struct Limits {
    std::vector<Condition> conditions;
    std::vector<Damage> damages;
    int study = 1;             // case study of CASE.ana whose options the check and damages use
    int angleCount = defaultAngleCount;
    int interactionStudy = 1;  // the interaction's options (the check's unless given)
};

// One fault of the file: its line (0 when unknown), the key and what is wrong.
struct LimitsFault {
    int line = 0;
    std::string key, message;
};

struct LimitsOutcome {
    Limits limits;
    std::vector<LimitsFault> faults;   // empty when the file can be used
};

// `studyCount` is the number of case studies in CASE.ana, for the study keys.
LimitsOutcome parseLimits(std::string_view text, int studyCount);
// Reads and parses the file; a file that cannot be read is one fault at line 0.
LimitsOutcome readLimits(const std::string& path, int studyCount);
// "CASE.lim:12: condition[1].gamma_w: ..." one per line.
std::string faultList(const std::vector<LimitsFault>& faults, std::string_view fileName);

} // namespace tarnova::collaudo
