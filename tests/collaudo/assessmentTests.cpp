// The assessment's arithmetic and studies: the rule check from hand-worked rows, the damage zones,
// the interaction against the intact studies, symmetry, and peak-not-reached on the tanker.

#include "assessment.hpp"
#include "assessmentFiles.hpp"
#include "caseFiles.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tarnova::collaudo {
namespace {

const std::string boxCase = std::string(EXAMPLES_DIR) + "/box/BOX.ana";
const std::string tankerCase = std::string(EXAMPLES_DIR) + "/tanker/TANKER.ana";

TEST(CheckRow, MatchesHandWorkedRows)
{
    struct Row {
        double msw, mwv, gS, gW, gM, gDB, mu;
        double moment, capacity, utilisation;
        bool pass;
    };
    // Worked by hand: M = gS Msw + gW Mwv; capacity = Mu / (gM gDB).
    const Row rows[] = {
        {2000000, 3600000, 1.0, 1.2, 1.1, 1.0, 7995341.1, 6320000, 7268491.909, 0.869506, true},
        {2800000, 3400000, 1.0, 1.2, 1.1, 1.15, 11868875.8, 6880000, 9382510.514, 0.733279, true},
        {1000, 1000, 1.0, 1.0, 1.0, 1.0, 2000, 2000, 2000, 1.0, true},   // exactly at the limit passes
        {1000, 1001, 1.0, 1.0, 1.0, 1.0, 2000, 2001, 2000, 1.0005, false},
        {0, 0, 1.0, 1.2, 1.1, 1.15, 100, 0, 79.0513834, 0.0, true},
        {500, 100, 1.0, 0.67, 1.0, 1.0 / 1.1, 1000, 567, 1100, 0.515455, true},   // residual, C_NA 1.1
    };
    for (const Row& r : rows) {
        const CheckRow c = checkRow("intact", "c", "sagging", r.msw, r.mwv, r.gS, r.gW, r.gM, r.gDB, r.mu);
        EXPECT_NEAR(c.moment, r.moment, 1e-6 * std::max(1.0, r.moment));
        EXPECT_NEAR(c.capacity, r.capacity, 1e-6 * r.capacity);
        EXPECT_NEAR(c.utilisation, r.utilisation, 1e-5);
        EXPECT_EQ(c.pass, r.pass) << r.msw << " " << r.mwv;
    }
}

TEST(PlainNumbers, NeverUseExponents)
{
    EXPECT_EQ(plain(1.5e13, 1), "15000000000000.0");
    EXPECT_EQ(plain(-0.04, 1), "0.0");
    EXPECT_EQ(plain(0.8695, 4), "0.8695");
}

TEST(DamageZone, BoxRemovesTheElementsInsideAndLowersMu)
{
    const CaseInput box = readCaseInput(boxCase);
    // The deck of the box: reference points at y 2988 and 3000 (elements 15 to 23).
    Damage deck;
    deck.name = "deck";
    deck.kind = DamageKind::box;
    deck.xMin = -1;
    deck.xMax = 4001;
    deck.yMin = 2900;
    deck.yMax = 3100;
    const std::vector<int> inside = elementsInZone(damageZone(deck, box.section), box.section);
    EXPECT_EQ(inside, (std::vector<int>{14, 15, 16, 17, 18, 19, 20, 21, 22}));

    Limits limits;
    limits.conditions.push_back({});
    limits.damages.push_back(deck);
    limits.study = 2;
    limits.interactionStudy = 2;
    limits.angleCount = 2;
    const Assessment a = assess(box, limits, 2, false);
    ASSERT_EQ(a.damages.size(), 1u);
    EXPECT_EQ(a.damages[0].removed, 9);
    EXPECT_EQ(a.damages[0].remaining, 19);
    EXPECT_LE(a.damages[0].sagging.ultimate, a.sagging.ultimate);
    EXPECT_LE(a.damages[0].hogging.ultimate, a.hogging.ultimate);
}

TEST(DamageZone, RuleExtentsComeFromTheSection)
{
    const CaseInput box = readCaseInput(boxCase);   // 4000 x 3000, reference points from 0 to 4000
    Damage port{"p", DamageKind::collision};
    const Zone p = damageZone(port, box.section);
    EXPECT_DOUBLE_EQ(p.xMin, 0);
    EXPECT_DOUBLE_EQ(p.xMax, 250);          // B/16
    EXPECT_DOUBLE_EQ(p.yMin, 3000 - 2250);  // 0.75 D below the deck
    EXPECT_DOUBLE_EQ(p.yMax, 3000);
    Damage starboard{"s", DamageKind::collision, true};
    EXPECT_DOUBLE_EQ(damageZone(starboard, box.section).xMin, 3750);
    Damage grounding{"g", DamageKind::grounding};
    const Zone g = damageZone(grounding, box.section);
    EXPECT_DOUBLE_EQ(g.xMin, 800);          // 0.6 B about the centreline
    EXPECT_DOUBLE_EQ(g.xMax, 3200);
    EXPECT_DOUBLE_EQ(g.yMin, 0);
    EXPECT_DOUBLE_EQ(g.yMax, 200);          // B/20, under 2 m
}

TEST(DamagedCase, KeepsTheRecordsOfTheElementsItKeeps)
{
    const CaseInput box = readCaseInput(boxCase);
    const CaseFileTexts t = damagedCaseTexts(box, {0, 27}, {box.studies[1], box.studies[2]});
    // The options as the record layer writes them: F5.1 of 0 is "   .0", F5.4 of 0 ".0000".
    EXPECT_EQ(t.options, " 2\n 3 1 0 4.50   .0.0000  0.\n 3 2 0 4.50180.0.0000  0.\n");
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = t.geometry.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(t.geometry.substr(start, end - start));
    ASSERT_EQ(lines.size(), 4u + 26u);
    EXPECT_EQ(lines[2], "  26");
    EXPECT_EQ(lines[4], box.geometryLines[5]);
    EXPECT_EQ(lines.back(), box.geometryLines[4 + 26]);
    EXPECT_EQ(t.properties, box.propertiesText);
}

TEST(Interaction, HalfTurnsEqualTheIntactStudiesExactly)
{
    const CaseInput box = readCaseInput(boxCase);
    Limits limits;
    limits.conditions.push_back({});
    limits.study = 2;
    for (int count : {24, 5}) {   // 5: no angle at 180, the check runs its own studies
        limits.angleCount = count;
        limits.interactionStudy = 2;
        const Assessment a = assess(box, limits, 2, false);
        CaseOptionsInput o = box.studies[1];
        o.heelAngle = 0;
        const float sag = runCaseStudy(box.section, o).ultimate.moment;
        o.heelAngle = 180;
        const float hog = runCaseStudy(box.section, o).ultimate.moment;
        EXPECT_EQ(a.sagging.ultimate, static_cast<double>(sag) / 1e6);
        EXPECT_EQ(a.hogging.ultimate, static_cast<double>(hog) / 1e6);
        EXPECT_EQ(a.interaction.front().ultimate, a.sagging.ultimate);
        if (count == 24) {
            EXPECT_EQ(a.interaction[12].ultimate, a.hogging.ultimate);
        }
    }
}

TEST(Interaction, SectionSymmetricAboutTheCentrelineGivesASymmetricCurve)
{
    const CaseInput box = readCaseInput(boxCase);
    const std::vector<double> angles = interactionAngles(12);
    const std::vector<InteractionPoint> points = interaction(box.section, box.studies[1], angles, 2);
    for (std::size_t k = 1; k < angles.size() / 2; ++k) {
        const InteractionPoint& a = points[k];
        const InteractionPoint& b = points[angles.size() - k];
        EXPECT_NEAR(a.ultimate, b.ultimate, 1e-5 * a.ultimate) << a.angle;
        EXPECT_NEAR(a.vertical, b.vertical, 1e-5 * a.ultimate);
        EXPECT_NEAR(a.horizontal, -b.horizontal, 1e-5 * a.ultimate);
    }
}

TEST(Interaction, AnglesGoToTheEngineWithinTheHeelsItCarries)
{
    EXPECT_EQ(engineHeel(0), 0.0f);
    EXPECT_EQ(engineHeel(180), 180.0f);
    EXPECT_EQ(engineHeel(345), 345.0f);
    EXPECT_EQ(engineHeel(-90), -90.0f);
    EXPECT_EQ(engineHeel(-165), 195.0f);
    EXPECT_EQ(interactionAngles(4), (std::vector<double>{0, 90, 180, 270}));
}

TEST(PeakNotReached, FlaggedOnTheTankerStudiesCDAndH)
{
    const CaseInput tanker = readCaseInput(tankerCase);
    std::vector<CaseStudyResult> results(tanker.studies.size());
    runParallel(results.size(), 2, [&](std::size_t i) {
        results[i] = runCaseStudy(tanker.section, tanker.studies[i], static_cast<int>(i) + 1);
    });
    for (std::size_t i = 0; i < results.size(); ++i) {
        const char letter = static_cast<char>('A' + i);
        const bool expectedReached = letter != 'C' && letter != 'D' && letter != 'H';
        const StudySummary s = summarise(results[i]);
        EXPECT_EQ(s.peakReached, expectedReached) << letter;
        bool warned = false;
        for (const std::string& w : results[i].warnings) warned = warned || w.find("peak was not reached") != std::string::npos;
        EXPECT_EQ(warned, !expectedReached) << letter;
        // Elastic first yield lies on the straight start of the curve: above the first step's moment.
        EXPECT_GT(s.firstYield, static_cast<double>(results[i].steps[0].moment) / 1e6) << letter;
        EXPECT_GT(s.firstYieldElement, 0);
        if (!expectedReached) {
            EXPECT_EQ(s.peakStep, 50);
        }
    }
}

} // namespace
} // namespace tarnova::collaudo
